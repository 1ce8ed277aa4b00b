// The "&Programs" menu, the system tools of the "&File" menu and
// "&Run a program".

#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "browser/DirectoryList.h"
#include "browser/FileList.h"
#include "launcher/ProgramsMenu.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {} // namespace

class ProgramsMenuTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void acrospinNeedsTheTrialsAcdFile();
    void acrospinWithoutAcdFileTellsTheUser();
    void convertersStartOnTheTrial_data();
    void convertersStartOnTheTrial();
    void systemTools_data();
    void systemTools();
    void runAProgramCancelled();
    void runAProgramFromAnotherDirectory();
    void runAProgramMissingFromProgramDirectory();
};

void ProgramsMenuTest::acrospinNeedsTheTrialsAcdFile()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.ACD"));
    writeFile(harness.progDir + QStringLiteral("/Acrospin.exe"), "x");
    harness.start();
    harness.selectTrial(QStringLiteral("run2"), QStringLiteral("DG"));
    Q_EMIT harness.ui().mnuPrograms->aboutToShow();
    QVERIFY(!harness.ui().mnuProgram[0]->isEnabled());

    harness.selectTrial(QStringLiteral("walk1"), QStringLiteral("DG"));
    Q_EMIT harness.ui().mnuPrograms->aboutToShow();
    QVERIFY(harness.ui().mnuProgram[0]->isEnabled());
    QCOMPARE(harness.ui().mnuPrograms->title(), QStringLiteral("&Programs               "));

    harness.ui().mnuProgram[0]->trigger();
    QCOMPARE(harness.starter.last().kind, StartKind::Shell);
    QCOMPARE(harness.starter.last().arguments, QStringList{"walk1.ACD"});
    QCOMPARE(harness.state().ProgName, QStringLiteral("Acrospin"));
}

void ProgramsMenuTest::acrospinWithoutAcdFileTellsTheUser()
{
    MainWindowHarness harness;
    harness.start();
    harness.selectTrial(QStringLiteral("walk1"), QStringLiteral("DG"));
    harness.window().programsMenu().mnuProgram_Click(0);
    QCOMPARE(harness.messages.texts(),
             QStringList{"Acrospin file (.ACD) not found in current data directory."});
    QCOMPARE(harness.messages.boxes.front().icon, MessageIcon::None);
    QVERIFY(harness.starter.requests.empty());
}

void ProgramsMenuTest::convertersStartOnTheTrial_data()
{
    // clang-format off
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("trialName");
    QTest::addColumn<QString>("trialExt");
    QTest::addColumn<QString>("parameters");

    QTest::newRow("Xfer2DG on a .CSV trial") << 2 << "Xfer2DG.exe" << "walk" << "CSV" << "WALK.CSV";
    QTest::newRow("Xfer2ACD") << 1 << "Xfer2ACD.exe" << "walk1" << "DG" << "WALK1.DG";
    QTest::newRow("no trial") << 2 << "Xfer2DG.exe" << "" << "" << ".";
    // clang-format on
}

void ProgramsMenuTest::convertersStartOnTheTrial()
{
    QFETCH(int, index);
    QFETCH(QString, program);
    QFETCH(QString, trialName);
    QFETCH(QString, trialExt);
    QFETCH(QString, parameters);
    MainWindowHarness harness;
    writeFile(harness.progDir + QLatin1Char('/') + program, "x");
    harness.start();
    harness.selectTrial(trialName, trialExt);
    harness.addDataFile(QStringLiteral("walk.dg")); // as if written by the converter

    harness.ui().mnuProgram.at(static_cast<size_t>(index))->trigger();
    const QString path = harness.progDir + QLatin1Char('/') + program;
    QCOMPARE(harness.starter.last().commandText, path.toUpper() + QLatin1Char(' ') + parameters);
    QCOMPARE(harness.state().ProgPath, path);
    QVERIFY(harness.messages.boxes.empty());
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.ui().filDatafiles->names(), QStringList{"walk.dg"});
}

void ProgramsMenuTest::systemTools_data()
{
    // clang-format off
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("program");
    QTest::addColumn<int>("kind");

    QTest::newRow("&Calculator") << 0 << "calc.exe" << int(StartKind::Command);
    QTest::newRow("&DOS prompt") << 1 << "command.com" << int(StartKind::Command);
    QTest::newRow("&Explorer") << 2 << "explorer.exe" << int(StartKind::Command);
    QTest::newRow("&Notepad") << 3 << "notepad.exe" << int(StartKind::Shell);
    // clang-format on
}

void ProgramsMenuTest::systemTools()
{
    QFETCH(int, index);
    QFETCH(QString, program);
    QFETCH(int, kind);
    MainWindowHarness harness;
    harness.start();
    harness.ui().mnuDOS.at(static_cast<size_t>(index))->trigger();
    const StartRequest& request = harness.starter.last();
    QCOMPARE(int(request.kind), kind);
    QCOMPARE(request.program, program);
    QVERIFY(request.arguments.isEmpty());
    QCOMPARE(request.commandText, program);
    QCOMPARE(request.showCode, 1);
    QCOMPARE(request.workingDirectory, harness.dataDir);
}

void ProgramsMenuTest::runAProgramCancelled()
{
    MainWindowHarness harness;
    harness.start();
    harness.ui().mnuRun->trigger();
    QCOMPARE(harness.messages.fileDialogs.size(), size_t(1));
    const OpenFileDialog& dialog = harness.messages.fileDialogs.front();
    QCOMPARE(dialog.title, QStringLiteral("Select program to run"));
    QCOMPARE(dialog.initialDirectory, harness.progDir);
    QCOMPARE(dialog.fileName, QStringLiteral("*.exe"));
    QCOMPARE(dialog.filters.value(dialog.selectedFilter), QStringLiteral("*.exe"));
    QVERIFY(harness.starter.requests.empty());
    QCOMPARE(harness.ui().dlgOpen.initialDirectory, harness.dataDir);
    QCOMPARE(QDir::currentPath(), harness.dataDir);
}

void ProgramsMenuTest::runAProgramFromAnotherDirectory()
{
    MainWindowHarness harness;
    const QString tool = harness.path(QStringLiteral("tools/My Tool"));
    writeFile(tool, "#!/bin/sh\n");
    harness.start();
    harness.messages.fileAnswers.push_back(tool);
    QDir::setCurrent(harness.progDir); // as a dialog may leave it

    harness.ui().mnuRun->trigger();
    const StartRequest& request = harness.starter.last();
    QCOMPARE(request.kind, StartKind::Command);
    QCOMPARE(request.program, tool);
    QVERIFY(request.arguments.isEmpty());
    QCOMPARE(request.showCode, 5);
    QCOMPARE(harness.state().ProgPath, tool);
    QCOMPARE(QDir::currentPath(), harness.dataDir);
    QCOMPARE(harness.ui().dlgOpen.initialDirectory, harness.dataDir);
}

void ProgramsMenuTest::runAProgramMissingFromProgramDirectory()
{
    MainWindowHarness harness;
    harness.start();
    harness.messages.fileAnswers.push_back(QStringLiteral("Missing.exe"));
    harness.ui().mnuRun->trigger();
    QVERIFY(harness.starter.requests.empty());
    // The handler ends before returning to the data directory.
    QCOMPARE(harness.ui().dlgOpen.initialDirectory, harness.progDir);
}

QTEST_MAIN(ProgramsMenuTest)
#include "tst_programsmenu.moc"
