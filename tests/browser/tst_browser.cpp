// The main window's browser: trial selection, button and menu states,
// filters, directory changes, refresh and the browser's messages.

#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "app/CaptionButton.h"
#include "app/CaptionCheckBox.h"
#include "app/Settings.h"
#include "browser/Browser.h"
#include "browser/DirectoryList.h"
#include "browser/DriveList.h"
#include "browser/FileList.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

void clickFile(FileList* list, const QString& name)
{
    QVERIFY2(list->names().contains(name), qPrintable(name));
    const QModelIndex index =
        list->model()->index(static_cast<int>(list->names().indexOf(name)), 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

void doubleClickFile(FileList* list, const QString& name)
{
    clickFile(list, name);
    const QModelIndex index =
        list->model()->index(static_cast<int>(list->names().indexOf(name)), 0);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

void clickEmptyList(FileList* list)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
}

struct ButtonStates {
    bool view, edit, animate, convert, options, xfer2acd, xfer2dg;
};

ButtonStates statesOf(const MainControls& ui)
{
    return {ui.cmdView->isEnabled(),      ui.cmdEdit->isEnabled(),    ui.cmdAnimate->isEnabled(),
            ui.cmdConvert->isEnabled(),   ui.cmdOptions->isEnabled(), ui.mnuProgram[1]->isEnabled(),
            ui.mnuProgram[2]->isEnabled()};
}

#define COMPARE_STATES(actual, expected)                                                           \
    do {                                                                                           \
        const ButtonStates a = (actual);                                                           \
        const ButtonStates e = (expected);                                                         \
        QCOMPARE(a.view, e.view);                                                                  \
        QCOMPARE(a.edit, e.edit);                                                                  \
        QCOMPARE(a.animate, e.animate);                                                            \
        QCOMPARE(a.convert, e.convert);                                                            \
        QCOMPARE(a.options, e.options);                                                            \
        QCOMPARE(a.xfer2acd, e.xfer2acd);                                                          \
        QCOMPARE(a.xfer2dg, e.xfer2dg);                                                            \
    } while (false)

} // namespace

class BrowserTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clickingADataFileSelectsTheTrial_data();
    void clickingADataFileSelectsTheTrial();
    void clickingAConvertibleFileKeepsTrialPath();
    void clickingEmptyListsTellsTheUser();
    void doubleClickSavesDataDirectory();
    void directoryChangeClearsTheTrial();
    void directoryListShowsAncestorsAndSubdirectories();
    void openingADirectoryByKeyboard();
    void directoryThatCannotBeEnteredChangesNothing();
    void readOnlyFilterKeepsTheTrial();
    void convertFilters_data();
    void convertFilters();
    void listsAreSortedAndHideHiddenFiles();
    void refreshKeepsTrialAndButtons();
    void testTrial();
    void driveListHoldsTheDataDirectory();
};

void BrowserTest::clickingADataFileSelectsTheTrial_data()
{
    // clang-format off
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("label");

    QTest::newRow("run1.dg") << "run1.dg" << "run1" << "DG" << "Selected file: RUN1.DG";
    QTest::newRow("two dots") << "walk.fast.dg" << "walk.fast" << "DG"
        << "Selected file: WALK.FAST.DG";
    QTest::newRow("upper-case name") << "JUMP.3D" << "JUMP" << "3D" << "Selected file: JUMP.3D";
    QTest::newRow("shell characters") << "a b;$(x)'q'.km" << "a b;$(x)'q'" << "KM"
        << "Selected file: A B;$(X)'Q'.KM";
    // clang-format on
}

void BrowserTest::clickingADataFileSelectsTheTrial()
{
    QFETCH(QString, file);
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QFETCH(QString, label);
    MainWindowHarness harness;
    harness.addDataFile(file);
    harness.start();

    clickFile(harness.ui().filDatafiles, file);
    QCOMPARE(harness.state().TrialPath, file);
    QCOMPARE(harness.state().TrialName, name);
    QCOMPARE(harness.state().TrialExt, extension);
    QCOMPARE(harness.ui().lblTrial->text(), label);
    COMPARE_STATES(statesOf(harness.ui()),
                   (ButtonStates{true, true, true, false, true, true, false}));
    QVERIFY(harness.messages.boxes.empty());
}

void BrowserTest::clickingAConvertibleFileKeepsTrialPath()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("run1.dg"));
    harness.addDataFile(QStringLiteral("walk.csv"));
    harness.start();

    clickFile(harness.ui().filDatafiles, QStringLiteral("run1.dg"));
    clickFile(harness.ui().filConverts, QStringLiteral("walk.csv"));
    QCOMPARE(harness.state().TrialName, QStringLiteral("walk"));
    QCOMPARE(harness.state().TrialExt, QStringLiteral("CSV"));
    QCOMPARE(harness.state().TrialPath, QStringLiteral("run1.dg"));
    QCOMPARE(harness.ui().lblTrial->text(), QStringLiteral("Selected file: WALK.CSV"));
    COMPARE_STATES(statesOf(harness.ui()),
                   (ButtonStates{false, false, false, true, true, false, true}));
}

void BrowserTest::clickingEmptyListsTellsTheUser()
{
    MainWindowHarness harness;
    harness.start();

    clickEmptyList(harness.ui().filDatafiles);
    QCOMPARE(harness.messages.boxes.size(), size_t(1));
    QCOMPARE(harness.messages.boxes.back().text,
             QStringLiteral("No data files (.DG etc.) in this subdirectory."));
    QCOMPARE(harness.messages.boxes.back().icon, MessageIcon::Critical);
    // The buttons follow the list all the same; "&Options" needs a file.
    COMPARE_STATES(statesOf(harness.ui()),
                   (ButtonStates{true, true, true, false, false, true, false}));

    clickEmptyList(harness.ui().filConverts);
    QCOMPARE(harness.messages.boxes.size(), size_t(2));
    QCOMPARE(harness.messages.boxes.back().text,
             QStringLiteral("No recognizable data files in this subdirectory."));
    COMPARE_STATES(statesOf(harness.ui()),
                   (ButtonStates{false, false, false, true, false, false, true}));
    QVERIFY(harness.state().TrialName.isEmpty());
}

void BrowserTest::doubleClickSavesDataDirectory()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.setSetting(kDataDirKey, QStringLiteral("/"));
    harness.start();
    const QString sub = harness.progDir;
    QCOMPARE(harness.state().DataDir, sub);
    QCOMPARE(harness.ui().dirSelect->setPath(harness.dataDir).number, 0);
    QVERIFY(harness.waitForLists());

    doubleClickFile(harness.ui().filDatafiles, QStringLiteral("walk1.dg"));
    QCOMPARE(harness.settings.values.value(
                 FakeSettingsStore::keyOf(kSettingsApplication, kSettingsSection, kDataDirKey)),
             harness.dataDir);
    QVERIFY(harness.ui().cmdOptions->isEnabled());
}

void BrowserTest::directoryChangeClearsTheTrial()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.addDataFile(QStringLiteral("walk.csv"));
    harness.addDataFile(QStringLiteral("sub/jump.dg"));
    harness.start();
    clickFile(harness.ui().filConverts, QStringLiteral("walk.csv"));
    clickFile(harness.ui().filDatafiles, QStringLiteral("walk1.dg"));

    QCOMPARE(harness.ui().dirSelect->setPath(harness.dataFile(QStringLiteral("sub"))).number, 0);
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.state().DataDir, harness.dataFile(QStringLiteral("sub")));
    QCOMPARE(QDir::currentPath(), harness.dataFile(QStringLiteral("sub")));
    QVERIFY(harness.state().TrialName.isEmpty());
    QVERIFY(harness.state().TrialExt.isEmpty());
    QCOMPARE(harness.state().TrialPath, QStringLiteral("walk1.dg"));
    QCOMPARE(harness.ui().lblTrial->text(), QStringLiteral("Selected file:"));
    QCOMPARE(harness.ui().lblPath->text(),
             QStringLiteral("Current path:\n") + harness.dataFile(QStringLiteral("sub")).toLower());
    QCOMPARE(harness.ui().filDatafiles->names(), QStringList{"jump.dg"});
    // "&View and edit" and "Run &Xfer2DG" keep their states.
    COMPARE_STATES(statesOf(harness.ui()),
                   (ButtonStates{false, true, false, false, false, true, false}));
}

void BrowserTest::directoryListShowsAncestorsAndSubdirectories()
{
    MainWindowHarness harness;
    makeDirectory(harness.dataFile(QStringLiteral("Beta")));
    makeDirectory(harness.dataFile(QStringLiteral("alpha")));
    makeDirectory(harness.dataFile(QStringLiteral(".hidden")));
    harness.start();
    DirectoryList* list = harness.ui().dirSelect;

    const QStringList labels = list->entryLabels();
    QCOMPARE(labels.first(), QStringLiteral("/"));
    QCOMPARE(labels.at(list->currentDirectoryRow()), QStringLiteral("data"));
    QCOMPARE(labels.mid(list->currentDirectoryRow() + 1), (QStringList{"alpha", "Beta"}));
    QCOMPARE(list->entryPaths().at(list->currentDirectoryRow() - 1),
             QDir(harness.dataDir + QStringLiteral("/..")).canonicalPath());

    // A double-click opens an entry: a subdirectory, then an ancestor.
    const int alphaRow = list->currentDirectoryRow() + 1;
    const QPoint alpha = list->visualRect(list->model()->index(alphaRow, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, alpha);
    QCOMPARE(harness.state().DataDir, harness.dataDir); // a click only selects
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, alpha);
    QCOMPARE(harness.state().DataDir, harness.dataFile(QStringLiteral("alpha")));
    QVERIFY(harness.waitForLists());
    QCOMPARE(list->openEntry(list->currentDirectoryRow() - 1).number, 0);
    QCOMPARE(harness.state().DataDir, harness.dataDir);
}

void BrowserTest::openingADirectoryByKeyboard()
{
    MainWindowHarness harness;
    makeDirectory(harness.dataFile(QStringLiteral("sub")));
    harness.start();
    DirectoryList* list = harness.ui().dirSelect;
    list->setFocus();
    list->setCurrentIndex(list->model()->index(list->currentDirectoryRow() + 1, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(harness.state().DataDir, harness.dataFile(QStringLiteral("sub")));
}

void BrowserTest::directoryThatCannotBeEnteredChangesNothing()
{
    if (!permissionsAreEnforced())
        QSKIP("directory permissions do not stop this user");
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    const QString locked = harness.dataFile(QStringLiteral("locked"));
    makeDirectory(locked);
    QFile::setPermissions(locked, QFileDevice::ReadOwner);
    harness.start();

    QCOMPARE(harness.ui().dirSelect->setPath(locked).number, 0);
    QCOMPARE(harness.messages.texts(),
             QStringList{"There was a problem finding a path. Error was Permission denied"});
    QCOMPARE(harness.messages.boxes.front().icon, MessageIcon::None);
    QCOMPARE(harness.state().DataDir, harness.dataDir);
    QCOMPARE(harness.ui().dirSelect->path(), harness.dataDir);
    QCOMPARE(QDir::currentPath(), harness.dataDir);
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.ui().filDatafiles->names(), QStringList{"walk1.dg"});
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void BrowserTest::readOnlyFilterKeepsTheTrial()
{
    MainWindowHarness harness;
    for (const char* name : {"a.dg", "b.3d", "c.cn", "d.sn", "e.km", "f.1t", "g.odg", "h.cda"})
        harness.addDataFile(QString::fromLatin1(name));
    harness.start();
    clickFile(harness.ui().filDatafiles, QStringLiteral("e.km"));

    harness.ui().chkAll->setChecked(false);
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.ui().filDatafiles->names(), (QStringList{"a.dg", "f.1t", "g.odg", "h.cda"}));
    QCOMPARE(harness.state().TrialName, QStringLiteral("e"));
    QCOMPARE(harness.state().TrialExt, QStringLiteral("KM"));

    harness.ui().chkAll->setChecked(true);
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.ui().filDatafiles->listCount(), 8);
}

void BrowserTest::convertFilters_data()
{
    // clang-format off
    QTest::addColumn<int>("option");
    QTest::addColumn<QStringList>("listed");

    QTest::newRow("All image files") << 0 << QStringList{"a.csv", "b.TXT", "c.xyz", "d.Dat"};
    QTest::newRow("Exclude .TXT") << 1 << QStringList{"a.csv", "c.xyz", "d.Dat"};
    QTest::newRow("Only .CSV files") << 2 << QStringList{"a.csv"};
    QTest::newRow("All files") << 3
        << QStringList{"a.csv", "b.TXT", "c.xyz", "d.Dat", "e.dg", "README"};
    // clang-format on
}

void BrowserTest::convertFilters()
{
    QFETCH(int, option);
    QFETCH(QStringList, listed);
    MainWindowHarness harness;
    for (const char* name : {"a.csv", "b.TXT", "c.xyz", "d.Dat", "e.dg", "README"})
        harness.addDataFile(QString::fromLatin1(name));
    harness.start();
    harness.ui().optConvert.at(static_cast<size_t>(option == 1 ? 0 : 1))->setChecked(true);
    harness.ui().optConvert.at(static_cast<size_t>(option))->setChecked(true);
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.ui().filConverts->names(), listed);
}

void BrowserTest::listsAreSortedAndHideHiddenFiles()
{
    MainWindowHarness harness;
    for (const char* name : {"b.dg", "A.dg", "c.DG", ".hidden.dg", "a.km"})
        harness.addDataFile(QString::fromLatin1(name));
    harness.start();
    QCOMPARE(harness.ui().filDatafiles->names(), (QStringList{"A.dg", "a.km", "b.dg", "c.DG"}));
}

void BrowserTest::refreshKeepsTrialAndButtons()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.start();
    clickFile(harness.ui().filDatafiles, QStringLiteral("walk1.dg"));
    QFile::remove(harness.dataFile(QStringLiteral("walk1.dg")));
    harness.addDataFile(QStringLiteral("run2.dg"));

    harness.ui().cmdRefresh->click();
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.ui().filDatafiles->names(), QStringList{"run2.dg"});
    QCOMPARE(harness.state().TrialName, QStringLiteral("walk1"));
    QCOMPARE(harness.state().DataDir, harness.dataDir);
    QVERIFY(harness.ui().cmdAnimate->isEnabled());
}

void BrowserTest::testTrial()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk.csv"));
    harness.start();
    QVERIFY(harness.window().TestTrial());
    QCOMPARE(harness.messages.boxes.size(), size_t(1));
    QCOMPARE(harness.messages.boxes.front().text,
             QStringLiteral("Select a trial from the Data or Conversion menus first."));
    QCOMPARE(harness.messages.boxes.front().icon, MessageIcon::Question);

    clickFile(harness.ui().filConverts, QStringLiteral("walk.csv"));
    QVERIFY(!harness.window().TestTrial());
    QCOMPARE(harness.messages.boxes.size(), size_t(1));
}

void BrowserTest::driveListHoldsTheDataDirectory()
{
    MainWindowHarness harness;
    makeDirectory(harness.dataFile(QStringLiteral("sub")));
    harness.start();
    DriveList* drives = harness.ui().drvDrives;
    QVERIFY(drives->drives().contains(QStringLiteral("/")));
    QVERIFY(harness.dataDir.startsWith(drives->drive()));
    QCOMPARE(drives->currentDirectoryOf(drives->drive()), harness.dataDir);

    // Choosing the drive again goes to its current directory: nothing moves.
    harness.window().browser().drvDrives_Change();
    QCOMPARE(harness.state().DataDir, harness.dataDir);
    QVERIFY(harness.messages.boxes.empty());
}

QTEST_MAIN(BrowserTest)
#include "tst_browser.moc"
