// Start-up, settings and shutdown of the main window, built offscreen with
// fake host parts over temporary directories.

#include "HostFiles.h"
#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "browser/DirectoryList.h"
#include "browser/DriveList.h"
#include "browser/FileList.h"
#include "classic/CaptionButton.h"
#include "core/Settings.h"
#include "docs/frmAbout.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

const QString kProgramMissing =
    QStringLiteral("Kadrix.exe was not found in the 'program' directory.\n"
                   "Kadrix.exe and Kadrix95.exe must be in the same directory.\n");

QString storedDataDir(const FakeSettingsStore& settings)
{
    return settings.values.value(
        FakeSettingsStore::keyOf(kSettingsApplication, kSettingsSection, kDataDirKey));
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsWithoutSettings();
    void recoversFromUnusableDataDir_data();
    void recoversFromUnusableDataDir();
    void readsTheCommandLine_data();
    void readsTheCommandLine();
    void findsTheAnimationProgram_data();
    void findsTheAnimationProgram();
    void settingsThatNameNoDirectory_data();
    void settingsThatNameNoDirectory();
    void exitSavesDataDirOnlyFromTheButton_data();
    void exitSavesDataDirOnlyFromTheButton();
};

void StartupTest::startsWithoutSettings()
{
    MainWindowHarness harness;
    harness.clearSettings();
    writeFile(harness.exeDir + QStringLiteral("/Kadrix.exe"), "x");
    writeFile(harness.exeDir + QStringLiteral("/Manuals/Kadrix.PDF"), "%PDF-1.4");
    for (const char* name : {"walk1.dg", "walk1.km", "walk.csv", "notes.txt"})
        harness.addDataFile(QString::fromLatin1(name));
    QDir::setCurrent(harness.dataDir);
    harness.start();
    MainControls& ui = harness.ui();

    QCOMPARE(harness.state().DataDir, harness.dataDir);
    QCOMPARE(harness.state().ProgDir, harness.exeDir);
    QCOMPARE(harness.window().StartDir(), harness.dataDir);
    QVERIFY(harness.messages.boxes.empty());
    QVERIFY(ui.cmdManuals->isEnabled());
    // The splash came and went: the About box stays loaded, hidden.
    QVERIFY(harness.window().aboutBox() && !harness.window().aboutBox()->isVisible());
    QVERIFY(harness.window().isVisible());
    // Read-only types included, .txt files left out.
    QCOMPARE(ui.filDatafiles->names(), (QStringList{"walk1.dg", "walk1.km"}));
    QCOMPARE(ui.filConverts->names(), QStringList{"walk.csv"});
    QCOMPARE(ui.lblPath->text(), QStringLiteral("Current path:\n") +
                                     QDir::toNativeSeparators(harness.dataDir.toLower()));
    QCOMPARE(ui.dlgOpen.initialDirectory, harness.dataDir);
    QCOMPARE(ui.statusPanels[1]->text(), QStringLiteral("Version 1.06 (005)"));
    for (QPushButton* button : std::initializer_list<QPushButton*>{
             ui.cmdEdit, ui.cmdView, ui.cmdAnimate, ui.cmdConvert, ui.cmdOptions})
        QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
    QCOMPARE(harness.window().centralWidget()->size(), QSize(574, 366));
    QStringList menuTitles;
    for (const QAction* menu : harness.window().menuBar()->actions())
        menuTitles.append(menu->text().trimmed());
    QCOMPARE(menuTitles, (QStringList{"&File", "&Data", "&Animate", "&Options", "&Programs",
                                      "&Help", "&Manuals"}));
    // Screen readers name the lists after their headings.
    QCOMPARE((QStringList{ui.drvDrives->accessibleName(), ui.dirSelect->accessibleName(),
                          ui.filDatafiles->accessibleName(), ui.filConverts->accessibleName()}),
             (QStringList{"Drives", "Directories", "Image data files",
                          "Files that may be converted by Xfer2DG"}));
}

void StartupTest::recoversFromUnusableDataDir_data()
{
    // clang-format off
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("programFound");
    QTest::newRow("file-system root") << "/" << true;
    QTest::newRow("missing directory") << "missing/dir" << true;
    QTest::newRow("a file, not a directory") << "data/walk1.dg" << true;
    QTest::newRow("program directory missing too") << "gone" << false;
    // clang-format on
}

void StartupTest::recoversFromUnusableDataDir()
{
    QFETCH(QString, stored);
    QFETCH(bool, programFound);
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.setSetting(kDataDirKey,
                       stored.startsWith(QLatin1Char('/')) ? stored : harness.path(stored));
    if (!programFound) {
        harness.setSetting(kProgDirKey, harness.path(QStringLiteral("gone too")));
        harness.exeDir = harness.path(QStringLiteral("no such exe dir"));
    }
    QDir::setCurrent(harness.dataDir);
    harness.start();

    // Without a program directory the browser stays on the current one.
    const QString expected = programFound ? harness.progDir : harness.dataDir;
    QCOMPARE(harness.state().DataDir, expected);
    QCOMPARE(QDir::currentPath(), expected);
    QCOMPARE(harness.ui().dirSelect->path(), expected);
    QCOMPARE(harness.ui().filDatafiles->path(), expected);
    QCOMPARE(harness.messages.texts(), programFound ? QStringList() : QStringList{kProgramMissing});
}

void StartupTest::readsTheCommandLine_data()
{
    // clang-format off
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("trialPath");
    QTest::addColumn<QString>("trialName");
    QTest::addColumn<bool>("dataDirFromCurrent");

    // The animation started at once rebuilds TrialPath, spelled as typed.
    QTest::newRow("trial") << "run1.dg" << "run1.dg" << "run1" << false;
    QTest::newRow("switch and trial") << "/q walk.fast.km" << "walk.fast.km" << "walk.fast" << true;
    QTest::newRow("switches only") << "-x -y" << "" << "" << true;
    // clang-format on
}

void StartupTest::readsTheCommandLine()
{
    QFETCH(QString, arguments);
    QFETCH(QString, trialPath);
    QFETCH(QString, trialName);
    QFETCH(bool, dataDirFromCurrent);

    MainWindowHarness harness;
    const QString current = harness.path(QStringLiteral("current"));
    makeDirectory(current);
    QDir::setCurrent(current);
    harness.start(arguments);

    QCOMPARE(harness.state().TrialPath, trialPath);
    QCOMPARE(harness.state().TrialName, trialName);
    QCOMPARE(harness.state().TrialExt, trialPath.mid(trialName.size() + 1).toUpper());
    QCOMPARE(harness.state().DataDir, dataDirFromCurrent ? current : harness.dataDir);
    if (trialPath.isEmpty()) {
        QVERIFY(harness.window().aboutBox());
        QCOMPARE(harness.ui().lblTrial->text(), QStringLiteral("Selected file:"));
    } else {
        QVERIFY2(!harness.window().aboutBox(), "no splash with a trial on the command line");
        QCOMPARE(harness.ui().lblTrial->text(),
                 QStringLiteral("Selected file: ") + trialName.toUpper());
        // A double-click on the window's background shows the About box.
        QTest::mouseDClick(harness.window().centralWidget(), Qt::LeftButton, {}, QPoint(300, 10));
        QVERIFY(harness.window().aboutBox() && harness.window().aboutBox()->isVisible());
    }
}

void StartupTest::findsTheAnimationProgram_data()
{
    // clang-format off
    QTest::addColumn<QString>("inProgDir");
    QTest::addColumn<QString>("inExeDir");
    QTest::addColumn<QString>("expectedProgDir");

    QTest::newRow("in the program directory") << "Kadrix.exe" << "" << "prog";
    QTest::newRow("letter case ignored") << "KADRIX.EXE" << "" << "prog";
    QTest::newRow("beside the front-end") << "" << "kadrix.exe" << "exe";
    QTest::newRow("nowhere") << "" << "" << "exe";
    // clang-format on
}

void StartupTest::findsTheAnimationProgram()
{
    QFETCH(QString, inProgDir);
    QFETCH(QString, inExeDir);
    QFETCH(QString, expectedProgDir);

    MainWindowHarness harness;
    QFile::remove(harness.progDir + QStringLiteral("/Kadrix.exe"));
    if (!inProgDir.isEmpty())
        writeFile(harness.progDir + QLatin1Char('/') + inProgDir, "x");
    if (!inExeDir.isEmpty())
        writeFile(harness.exeDir + QLatin1Char('/') + inExeDir, "x");
    harness.start();

    QCOMPARE(harness.state().ProgDir, harness.path(expectedProgDir));
    QCOMPARE(harness.state().ManualsDir,
             harness.path(expectedProgDir) + QStringLiteral("/manuals/"));
    const std::vector<MessageBox> expected{
        {kProgramMissing, QStringLiteral("Kadrix95"), MessageButtons::Ok, MessageIcon::Critical}};
    const bool nowhere = inProgDir.isEmpty() && inExeDir.isEmpty();
    std::vector<MessageBox> boxes = harness.messages.boxes;
    for (MessageBox& box : boxes) // the details name where Kadrix.exe was looked for
        QVERIFY(std::exchange(box.detail, {}).contains(QDir::toNativeSeparators(harness.exeDir)));
    QCOMPARE(boxes, nowhere ? expected : std::vector<MessageBox>());
    QVERIFY(!harness.ui().cmdManuals->isEnabled()); // no manual there
    QVERIFY(harness.window().isVisible());
}

void StartupTest::settingsThatNameNoDirectory_data()
{
    // clang-format off
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("dataDir");
    QTest::addColumn<QString>("progDir");

    // A relative program directory is the front-end's own, never one in the
    // data directory where anyone may have put a Kadrix.exe.
    QTest::newRow("relative Progdir") << kProgDirKey << "prog" << "data" << "exe/prog";
    QTest::newRow("Progdir a pipe") << kProgDirKey << "pipe" << "data" << "exe";
    QTest::newRow("Datadir a pipe") << kDataDirKey << "pipe" << "start" << "prog";
    // clang-format on
}

void StartupTest::settingsThatNameNoDirectory()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, dataDir);
    QFETCH(QString, progDir);
    MainWindowHarness harness;
    for (const char* planted : {"exe/prog/Kadrix.exe", "exe/Kadrix.exe", "data/prog/Kadrix.exe"})
        writeFile(harness.path(QString::fromLatin1(planted)), "x");
    QVERIFY(QDir().mkpath(harness.path(QStringLiteral("start"))));
    if (stored == QLatin1String("pipe") && !makeNamedPipe(harness.path(stored)))
        QSKIP(kNoNamedPipes);
    harness.setSetting(key, stored == QLatin1String("pipe") ? harness.path(stored) : stored);
    QDir::setCurrent(harness.path(QStringLiteral("start")));
    harness.start();

    QCOMPARE(harness.state().ProgDir, harness.path(progDir));
    QCOMPARE(harness.state().DataDir, harness.path(dataDir));
    QVERIFY(harness.messages.boxes.empty());
}

void StartupTest::exitSavesDataDirOnlyFromTheButton_data()
{
    // clang-format off
    QTest::addColumn<int>("way");
    QTest::addColumn<bool>("saved");
    QTest::newRow("E&xit button") << 0 << true;
    QTest::newRow("&Exit menu item") << 1 << false;
    QTest::newRow("close box") << 2 << false;
    // clang-format on
}

void StartupTest::exitSavesDataDirOnlyFromTheButton()
{
    QFETCH(int, way);
    QFETCH(bool, saved);
    MainWindowHarness harness;
    harness.setSetting(kDataDirKey, QStringLiteral("/"));
    const QString start = harness.path(QStringLiteral("start"));
    makeDirectory(start);
    QDir::setCurrent(start);
    harness.start();
    harness.window().mnuAbout_Click();
    QSignalSpy unloaded(&harness.window(), &frmKadrix::unloaded);

    if (way == 0)
        harness.ui().cmdExit->click();
    else if (way == 1)
        harness.ui().mnuExit->trigger();
    else
        harness.window().close();

    QCOMPARE(unloaded.size(), 1);
    QVERIFY(harness.window().isUnloaded());
    QCOMPARE(storedDataDir(harness.settings), saved ? harness.progDir : QStringLiteral("/"));
    // Unloading closes the other windows and restores the start directory.
    QVERIFY(!harness.window().aboutBox());
    QCOMPARE(QDir::currentPath(), start);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
