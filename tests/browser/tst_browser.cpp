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
#include "browser/DirectoryReader.h"
#include "browser/DriveList.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRadioButton>
#include <QSignalSpy>

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

// The permissions of a file mode such as 0700, for the owner alone.
QFileDevice::Permissions ownerPermissions(int mode)
{
    const int owner = (mode >> 6) & 7;
    return QFileDevice::Permissions(owner << 12 | owner << 8);
}

// Runs a shell command as another program would.
void runElsewhere(const QString& directory, const QString& command)
{
    QProcess shell;
    shell.setWorkingDirectory(directory);
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
    QVERIFY(shell.waitForFinished(60000) && shell.exitCode() == 0);
}

} // namespace

class BrowserTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clickSelectsTheTrial_data();
    void clickSelectsTheTrial();
    void emptyListsTellTheUser();
    void directoryListOpensEntries();
    void fileDoubleClickSurvivesRefresh();
    void filters_data();
    void filters();
    void listsFollowTheDisk();
    void directoryProblems_data();
    void directoryProblems();
};

void BrowserTest::clickSelectsTheTrial_data()
{
    // clang-format off
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");

    QTest::newRow("run1.dg") << "run1.dg" << "click" << "run1" << "DG";
    QTest::newRow("two dots") << "walk.fast.dg" << "click" << "walk.fast" << "DG";
    QTest::newRow("upper-case name") << "JUMP.3D" << "click" << "JUMP" << "3D";
    QTest::newRow("shell characters") << "a b;$(x)'q'.km" << "click" << "a b;$(x)'q'" << "KM";
    QTest::newRow("Ctrl+click on the selected file") << "run1.dg" << "ctrl" << "run1" << "DG";
    QTest::newRow("Space") << "run1.dg" << "Space" << "run1" << "DG";
    QTest::newRow("Return") << "run1.dg" << "Return" << "run1" << "DG";
    QTest::newRow("Down") << "run1.dg" << "Down" << "run1" << "DG";
    QTest::newRow("Up") << "run1.dg" << "Up" << "run1" << "DG";
    QTest::newRow("convertible, after a data file") << "walk.csv" << "click" << "walk" << "CSV";
    // clang-format on
}

void BrowserTest::clickSelectsTheTrial()
{
    QFETCH(QString, file);
    QFETCH(QString, how);
    QFETCH(QString, name);
    QFETCH(QString, extension);
    MainWindowHarness harness;
    harness.addDataFile(file);
    const bool convertible = extension == QLatin1String("CSV");
    if (convertible)
        harness.addDataFile(QStringLiteral("run1.dg"));
    harness.start();
    FileList* list = convertible ? harness.ui().filConverts : harness.ui().filDatafiles;
    if (convertible)
        clickFile(harness.ui().filDatafiles, QStringLiteral("run1.dg"));

    const QPoint at = list->visualRect(list->model()->index(0, 0)).center();
    if (how == QLatin1String("click") || how == QLatin1String("ctrl"))
        clickFile(list, file);
    if (how == QLatin1String("ctrl"))
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
    const QMetaEnum keys = QMetaEnum::fromType<Qt::Key>();
    if (const int key = keys.keyToValue(qPrintable(QStringLiteral("Key_") + how)); key >= 0) {
        // The list took the focus: its first row is current, not selected.
        list->selectionModel()->setCurrentIndex(list->model()->index(0, 0),
                                                QItemSelectionModel::NoUpdate);
        QTest::keyClick(list, Qt::Key(key));
    }
    QCOMPARE(harness.state().TrialPath, convertible ? QStringLiteral("run1.dg") : file);
    QCOMPARE(harness.state().TrialName, name);
    QCOMPARE(harness.state().TrialExt, extension);
    QCOMPARE(harness.ui().lblTrial->text(),
             QStringLiteral("Selected file: ") + name.toUpper() + QLatin1Char('.') + extension);
    QCOMPARE(states(harness.ui()), convertible ? QStringLiteral("---++-+") : "+++-++-");
    QVERIFY(!harness.window().TestTrial()); // any trial counts
    QVERIFY(harness.messages.boxes.empty());
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
    QVERIFY(harness.window().TestTrial());
    QCOMPARE(harness.messages.texts(),
             (QStringList{"No data files (.DG etc.) in this subdirectory.",
                          "No recognizable data files in this subdirectory.",
                          "Select a trial from the Data or Conversion menus first."}));
    QCOMPARE(harness.messages.boxes.at(1).icon, MessageIcon::Critical);
    QCOMPARE(harness.messages.boxes.back().icon, MessageIcon::Question);
}

void BrowserTest::directoryListOpensEntries()
{
    MainWindowHarness harness;
    for (const char* name : {"Beta/x", "alpha/jump.dg", ".hidden/x", "walk1.dg", "walk.csv"})
        harness.addDataFile(QString::fromLatin1(name));
    harness.start();
    clickFile(harness.ui().filConverts, QStringLiteral("walk.csv"));
    clickFile(harness.ui().filDatafiles, QStringLiteral("walk1.dg"));
    DirectoryList* list = harness.ui().dirSelect;
    const int current = list->currentDirectoryRow();
    QCOMPARE(list->entryLabels().first(), QStringLiteral("/"));
    QCOMPARE(list->entryLabels().mid(current), (QStringList{"data", "alpha", "Beta"}));

    // A click only selects; a double-click opens a subdirectory, also when
    // the list was refreshed between its two clicks.
    const QPoint alpha = list->visualRect(list->model()->index(current + 1, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, alpha);
    QCOMPARE(harness.state().DataDir, harness.dataDir);
    makeDirectory(harness.dataFile(QStringLiteral("gamma")));
    harness.ui().cmdRefresh->click();
    QVERIFY(harness.waitForLists());
    QCOMPARE(list->entryLabels().mid(current), (QStringList{"data", "alpha", "Beta", "gamma"}));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, alpha);
    QVERIFY(harness.waitForLists());
    const QString sub = harness.dataFile(QStringLiteral("alpha"));
    QCOMPARE(harness.state().DataDir, sub);
    QCOMPARE(QDir::currentPath(), sub);
    QVERIFY(harness.state().TrialName.isEmpty() && harness.state().TrialExt.isEmpty());
    QCOMPARE(harness.state().TrialPath, QStringLiteral("walk1.dg"));
    QCOMPARE(harness.ui().lblTrial->text(), QStringLiteral("Selected file:"));
    QCOMPARE(harness.ui().lblPath->text(), QStringLiteral("Current path:\n") + sub.toLower());
    QCOMPARE(harness.ui().filDatafiles->names(), QStringList{"jump.dg"});
    // "&View and edit" and "Run &Xfer2DG" keep their states.
    QCOMPARE(states(harness.ui()), QStringLiteral("-+---+-"));

    // Enter opens an ancestor.
    list->setCurrentIndex(list->model()->index(list->currentDirectoryRow() - 1, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(harness.state().DataDir, harness.dataDir);
    QCOMPARE(harness.ui().drvDrives->currentDirectoryOf(harness.ui().drvDrives->drive()),
             harness.dataDir);
}

void BrowserTest::fileDoubleClickSurvivesRefresh()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.start();
    harness.setSetting(kDataDirKey, QStringLiteral("/elsewhere"));
    FileList* list = harness.ui().filDatafiles;
    clickFile(list, QStringLiteral("walk1.dg"));
    harness.addDataFile(QStringLiteral("x.dg"));
    harness.ui().cmdRefresh->click();
    QVERIFY(harness.waitForLists());
    QCOMPARE(list->names(), (QStringList{"walk1.dg", "x.dg"}));

    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualRect(list->model()->index(0, 0)).center());
    QCOMPARE(harness.starter.requests.size(), size_t(1));
    QCOMPARE(harness.state().TrialName, QStringLiteral("walk1"));
    QCOMPARE(harness.settings.getSetting(kSettingsApplication, kSettingsSection, kDataDirKey, {}),
             harness.dataDir);
    QVERIFY(harness.ui().cmdOptions->isEnabled());
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
    makeDirectory(harness.dataFile(QStringLiteral("sub.dg"))); // never a file
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

void BrowserTest::listsFollowTheDisk()
{
    MainWindowHarness harness;
    for (const char* name : {"walk1.dg", "gone.dg"})
        harness.addDataFile(QString::fromLatin1(name));
    harness.start();
    clickFile(harness.ui().filDatafiles, QStringLiteral("walk1.dg"));
    QVERIFY(harness.waitForLists());
    // Nothing changed: getting the focus back reads nothing.
    QSignalSpy listed(&harness.window().browser().reader(), &DirectoryReader::listed);
    harness.window().Form_GotFocus();
    QCoreApplication::processEvents();
    QVERIFY(!harness.window().browser().reader().isBusy() && listed.isEmpty());

    runElsewhere(harness.dataDir, QStringLiteral("touch new.dg walk.csv && rm gone.dg && "
                                                 "mv walk1.dg renamed.dg"));
    QTRY_COMPARE(harness.ui().filDatafiles->names(), (QStringList{"new.dg", "renamed.dg"}));
    QTRY_COMPARE(harness.ui().filConverts->names(), QStringList{"walk.csv"});
    // The trial stays selected, as after any refresh.
    QCOMPARE(harness.state().TrialName, QStringLiteral("walk1"));
    QCOMPARE(states(harness.ui()), QStringLiteral("+++-++-"));
}

void BrowserTest::directoryProblems_data()
{
    // clang-format off
    QTest::addColumn<int>("before"); // permissions of sub/ when it is opened
    QTest::addColumn<int>("after"); // permissions given later, -1 to remove it
    QTest::addColumn<bool>("entered");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("error");

    QTest::newRow("cannot be entered") << 0400 << 0 << false << QStringList{"walk1.dg"} << "Permission denied";
    QTest::newRow("entered, not readable") << 0100 << 0 << true << QStringList{} << "Permission denied";
    QTest::newRow("vanishes while shown") << 0700 << -1 << true << QStringList{} << "Path not found";
    QTest::newRow("made read-only while shown") << 0700 << 0500 << true << QStringList{"jump.dg"} << "";
    // clang-format on
}

void BrowserTest::directoryProblems()
{
    QFETCH(int, before);
    QFETCH(int, after);
    QFETCH(bool, entered);
    QFETCH(QStringList, listed);
    QFETCH(QString, error);
    if (before != 0700 && !permissionsAreEnforced())
        QSKIP("directory permissions do not stop this user");
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.addDataFile(QStringLiteral("sub/jump.dg"));
    const QString sub = harness.dataFile(QStringLiteral("sub"));
    QFile::setPermissions(sub, ownerPermissions(before));
    harness.start();
    QSignalSpy listings(&harness.window().browser().reader(), &DirectoryReader::listed);

    harness.ui().dirSelect->setPath(sub);
    QVERIFY(harness.waitForLists());
    if (after == -1)
        QVERIFY(QDir(sub).removeRecursively());
    else if (after != 0)
        QFile::setPermissions(sub, ownerPermissions(after));
    if (after != 0)
        QVERIFY(listings.wait() && harness.waitForLists());
    QCOMPARE(harness.state().DataDir, entered ? sub : harness.dataDir);
    QCOMPARE(harness.ui().filDatafiles->names(), listed);
    const QString message = QStringLiteral("There was a problem finding a path. Error was ");
    QCOMPARE(harness.messages.texts(),
             error.isEmpty() ? QStringList() : QStringList{message + error});
    QFile::setPermissions(sub, ownerPermissions(0700));
}

QTEST_MAIN(BrowserTest)
#include "tst_browser.moc"
