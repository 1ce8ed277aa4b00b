// The main window's browser: trial selection, button and menu states,
// filters, directory changes, refresh and the browser's messages.

#include "Clicks.h"
#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "app/CaptionButton.h"
#include "app/CaptionCheckBox.h"
#include "app/Settings.h"
#include "browser/Browser.h"
#include "browser/DirectoryList.h"
#include "browser/DriveList.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRadioButton>

using namespace kadrix;
using namespace kadrix::test;

namespace {

// The enabled states of "&Edit && convert", "&View and edit", "&Animate
// only", "Run &Xfer2DG", "&Options", "&Xfer2ACD" and "&Xfer2DG", in that
// order, as "+" (on) and "-" (off).
QString states(const MainControls& ui)
{
    QString text;
    for (const bool on :
         {ui.cmdView->isEnabled(), ui.cmdEdit->isEnabled(), ui.cmdAnimate->isEnabled(),
          ui.cmdConvert->isEnabled(), ui.cmdOptions->isEnabled(), ui.mnuProgram[1]->isEnabled(),
          ui.mnuProgram[2]->isEnabled()})
        text += on ? QLatin1Char('+') : QLatin1Char('-');
    return text;
}

} // namespace

class BrowserTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clickSelectsTheTrial_data();
    void clickSelectsTheTrial();
    void convertibleFileKeepsTrialPath();
    void emptyListsTellTheUser();
    void doubleClickSavesDataDirectory();
    void directoryChangeClearsTheTrial();
    void directoryListOpensEntries();
    void directoryThatCannotBeEnteredChangesNothing();
    void filters_data();
    void filters();
    void refreshKeepsTrialAndButtons();
    void testTrial();
};

void BrowserTest::clickSelectsTheTrial_data()
{
    // clang-format off
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");

    QTest::newRow("run1.dg") << "run1.dg" << "run1" << "DG";
    QTest::newRow("two dots") << "walk.fast.dg" << "walk.fast" << "DG";
    QTest::newRow("upper-case name") << "JUMP.3D" << "JUMP" << "3D";
    QTest::newRow("shell characters") << "a b;$(x)'q'.km" << "a b;$(x)'q'" << "KM";
    // clang-format on
}

void BrowserTest::clickSelectsTheTrial()
{
    QFETCH(QString, file);
    QFETCH(QString, name);
    QFETCH(QString, extension);
    MainWindowHarness harness;
    harness.addDataFile(file);
    harness.start();

    clickFile(harness.ui().filDatafiles, file);
    QCOMPARE(harness.state().TrialPath, file);
    QCOMPARE(harness.state().TrialName, name);
    QCOMPARE(harness.state().TrialExt, extension);
    QCOMPARE(harness.ui().lblTrial->text(),
             QStringLiteral("Selected file: ") + name.toUpper() + QLatin1Char('.') + extension);
    QCOMPARE(states(harness.ui()), QStringLiteral("+++-++-"));
    QVERIFY(harness.messages.boxes.empty());
}

void BrowserTest::convertibleFileKeepsTrialPath()
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
    QCOMPARE(states(harness.ui()), QStringLiteral("---++-+"));
}

void BrowserTest::emptyListsTellTheUser()
{
    MainWindowHarness harness;
    harness.start();
    clickEmptyList(harness.ui().filDatafiles);
    // The buttons follow the list all the same; "&Options" needs a file.
    QCOMPARE(states(harness.ui()), QStringLiteral("+++--+-"));
    clickEmptyList(harness.ui().filConverts);
    QCOMPARE(states(harness.ui()), QStringLiteral("---+--+"));
    QCOMPARE(harness.messages.texts(),
             (QStringList{"No data files (.DG etc.) in this subdirectory.",
                          "No recognizable data files in this subdirectory."}));
    QCOMPARE(harness.messages.boxes.back().icon, MessageIcon::Critical);
    QVERIFY(harness.state().TrialName.isEmpty());
}

void BrowserTest::doubleClickSavesDataDirectory()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.start();
    harness.setSetting(kDataDirKey, QStringLiteral("/elsewhere"));
    clickFile(harness.ui().filDatafiles, QStringLiteral("walk1.dg"), true);
    QCOMPARE(harness.settings.getSetting(kSettingsApplication, kSettingsSection, kDataDirKey, {}),
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

    const QString sub = harness.dataFile(QStringLiteral("sub"));
    QCOMPARE(harness.ui().dirSelect->setPath(sub).number, 0);
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.state().DataDir, sub);
    QCOMPARE(QDir::currentPath(), sub);
    QVERIFY(harness.state().TrialName.isEmpty() && harness.state().TrialExt.isEmpty());
    QCOMPARE(harness.state().TrialPath, QStringLiteral("walk1.dg"));
    QCOMPARE(harness.ui().lblTrial->text(), QStringLiteral("Selected file:"));
    QCOMPARE(harness.ui().lblPath->text(), QStringLiteral("Current path:\n") + sub.toLower());
    QCOMPARE(harness.ui().filDatafiles->names(), QStringList{"jump.dg"});
    // "&View and edit" and "Run &Xfer2DG" keep their states.
    QCOMPARE(states(harness.ui()), QStringLiteral("-+---+-"));
}

void BrowserTest::directoryListOpensEntries()
{
    MainWindowHarness harness;
    for (const char* name : {"Beta", "alpha", ".hidden"})
        makeDirectory(harness.dataFile(QString::fromLatin1(name)));
    harness.start();
    DirectoryList* list = harness.ui().dirSelect;
    const int current = list->currentDirectoryRow();
    QCOMPARE(list->entryLabels().first(), QStringLiteral("/"));
    QCOMPARE(list->entryLabels().mid(current), (QStringList{"data", "alpha", "Beta"}));

    // A click only selects; a double-click opens a subdirectory.
    const QPoint alpha = list->visualRect(list->model()->index(current + 1, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, alpha);
    QCOMPARE(harness.state().DataDir, harness.dataDir);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, alpha);
    QCOMPARE(harness.state().DataDir, harness.dataFile(QStringLiteral("alpha")));
    QVERIFY(harness.waitForLists());

    // Enter opens an ancestor.
    list->setFocus();
    list->setCurrentIndex(list->model()->index(list->currentDirectoryRow() - 1, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(harness.state().DataDir, harness.dataDir);
    QCOMPARE(harness.ui().drvDrives->currentDirectoryOf(harness.ui().drvDrives->drive()),
             harness.dataDir);
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
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void BrowserTest::filters_data()
{
    // clang-format off
    QTest::addColumn<bool>("readOnlyTypes");
    QTest::addColumn<int>("option");
    QTest::addColumn<QStringList>("dataFiles");
    QTest::addColumn<QStringList>("convertible");

    const QStringList withReadOnly{"a.dg", "b.3D", "c.cn", "d.sn", "e.km", "f.1t", "g.odg", "h.cda"};
    const QStringList withoutReadOnly{"a.dg", "f.1t", "g.odg", "h.cda"};
    QTest::newRow("All image files") << true << 0 << withReadOnly << QStringList{"m.csv", "n.TXT", "o.xyz", "p.Dat"};
    QTest::newRow("Exclude .TXT") << true << 1 << withReadOnly << QStringList{"m.csv", "o.xyz", "p.Dat"};
    QTest::newRow("Only .CSV files") << false << 2 << withoutReadOnly << QStringList{"m.csv"};
    QTest::newRow("All files") << false << 3 << withoutReadOnly
        << QStringList{"a.dg", "b.3D", "c.cn", "d.sn", "e.km", "f.1t", "g.odg", "h.cda", "m.csv", "n.TXT", "o.xyz", "p.Dat", "README"};
    // clang-format on
}

void BrowserTest::filters()
{
    QFETCH(bool, readOnlyTypes);
    QFETCH(int, option);
    QFETCH(QStringList, dataFiles);
    QFETCH(QStringList, convertible);
    MainWindowHarness harness;
    for (const char* name : {"a.dg", "b.3D", "c.cn", "d.sn", "e.km", "f.1t", "g.odg", "h.cda",
                             "m.csv", "n.TXT", "o.xyz", "p.Dat", "README", ".hidden.dg"})
        harness.addDataFile(QString::fromLatin1(name));
    harness.start();
    clickFile(harness.ui().filDatafiles, QStringLiteral("e.km"));

    harness.ui().chkAll->setChecked(readOnlyTypes);
    harness.ui().optConvert.at(static_cast<size_t>(option))->setChecked(true);
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.ui().filDatafiles->names(), dataFiles);
    QCOMPARE(harness.ui().filConverts->names(), convertible);
    // A filter never touches the trial, listed or not.
    QCOMPARE(harness.state().TrialName, QStringLiteral("e"));
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
    QCOMPARE(states(harness.ui()), QStringLiteral("+++-++-"));
}

void BrowserTest::testTrial()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk.csv"));
    harness.start();
    QVERIFY(harness.window().TestTrial());
    QCOMPARE(harness.messages.texts(),
             QStringList{"Select a trial from the Data or Conversion menus first."});
    QCOMPARE(harness.messages.boxes.front().icon, MessageIcon::Question);

    // Any trial counts, also a convertible file.
    clickFile(harness.ui().filConverts, QStringLiteral("walk.csv"));
    QVERIFY(!harness.window().TestTrial());
    QCOMPARE(harness.messages.boxes.size(), size_t(1));
}

QTEST_MAIN(BrowserTest)
#include "tst_browser.moc"
