// Starting the animation program: the trial buttons, the "&Animate" menu,
// "Command line help", RunProgram, and the two places that animate at once.

#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "app/CaptionButton.h"
#include "browser/FileList.h"
#include "launcher/Launcher.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

void clickButton(MainWindowHarness& harness, const QString& which)
{
    Launcher& launcher = harness.window().launcher();
    if (which == QLatin1String("animate"))
        launcher.cmdAnimate_Click();
    else if (which == QLatin1String("view and edit"))
        launcher.cmdEdit_Click();
    else
        launcher.cmdView_Click();
}

} // namespace

class LauncherTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void trialButtons_data();
    void trialButtons();
    void programNameIsFoundWhateverItsCase();
    void animateMenuFollowsTheTrialsFiles_data();
    void animateMenuFollowsTheTrialsFiles();
    void animateMenuWithoutTrialKeepsItsItems();
    void animateMenuItemsStartCommands_data();
    void animateMenuItemsStartCommands();
    void commandLineHelp();
    void runProgramStartsAndOffersOutput_data();
    void runProgramStartsAndOffersOutput();
    void runProgramWithMissingProgram();
    void doubleClickOnDataFileAnimates();
    void trialOnCommandLineIsAnimatedAtStart();
};

void LauncherTest::trialButtons_data()
{
    // clang-format off
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("optionSwitches");
    QTest::addColumn<QString>("onDisk");
    QTest::addColumn<QString>("trialName");
    QTest::addColumn<QString>("trialExt");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("parameters");

    QTest::newRow("animate, no switches") << "animate" << "" << "walk1.dg" << "walk1" << "DG"
        << QStringList{"/q", "/1", "/r", "walk1.dg"} << "/q /1 /r WALK1.DG";
    QTest::newRow("animate with switches") << "animate" << "/V1 " << "walk1.dg" << "walk1" << "DG"
        << QStringList{"/q", "/1", "/r", "/V1", "walk1.dg"} << "/q /1 /r /V1 WALK1.DG";
    QTest::newRow("view and edit, no switches") << "view and edit" << "" << "walk1.dg" << "walk1"
        << "DG" << QStringList{"walk1.dg"} << "WALK1.DG";
    QTest::newRow("view and edit with switches") << "view and edit" << "/R /Z /V2 /S4 " << "Jump.3D"
        << "Jump" << "3D" << QStringList{"/R", "/Z", "/V2", "/S4", "Jump.3D"}
        << "/R /Z /V2 /S4 JUMP.3D";
    QTest::newRow("edit and convert") << "edit and convert" << "/F /V1 " << "run2.km" << "run2"
        << "KM" << QStringList{"/a", "/F", "/V1", "run2.km"} << "/a /F /V1 RUN2.KM";
    QTest::newRow("no trial") << "animate" << "" << "" << "" << ""
        << QStringList{"/q", "/1", "/r", "."} << "/q /1 /r .";
    QTest::newRow("shell characters stay one argument") << "animate" << ""
        << "a b;$(touch x)'q'|&.dg" << "a b;$(touch x)'q'|&" << "DG"
        << QStringList{"/q", "/1", "/r", "a b;$(touch x)'q'|&.dg"}
        << "/q /1 /r A B;$(TOUCH X)'Q'|&.DG";
    // clang-format on
}

void LauncherTest::trialButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, optionSwitches);
    QFETCH(QString, onDisk);
    QFETCH(QString, trialName);
    QFETCH(QString, trialExt);
    QFETCH(QStringList, arguments);
    QFETCH(QString, parameters);

    MainWindowHarness harness;
    if (!onDisk.isEmpty())
        harness.addDataFile(onDisk);
    harness.start();
    harness.selectTrial(trialName, trialExt);
    harness.state().OptionSwitches = optionSwitches;

    clickButton(harness, button);
    QCOMPARE(harness.starter.requests.size(), size_t(1));
    const StartRequest& request = harness.starter.last();
    const QString program = harness.progDir + QStringLiteral("/Kadrix.exe");
    QCOMPARE(request.kind, StartKind::Shell);
    QCOMPARE(request.program, program);
    QCOMPARE(request.arguments, arguments);
    QCOMPARE(request.workingDirectory, harness.dataDir);
    QCOMPARE(request.showCode, 5);
    QCOMPARE(request.commandText, program.toUpper() + QLatin1Char(' ') + parameters);
    QCOMPARE(harness.state().TrialPath, trialName + QLatin1Char('.') + trialExt);
    QCOMPARE(harness.state().ProgName, QStringLiteral("Kadrix"));
    QCOMPARE(harness.state().ProgPath, program);
    QCOMPARE(harness.state().TaskId, 4242.0);
}

void LauncherTest::programNameIsFoundWhateverItsCase()
{
    MainWindowHarness harness;
    QFile::rename(harness.progDir + QStringLiteral("/Kadrix.exe"),
                  harness.progDir + QStringLiteral("/kadrix.EXE"));
    harness.addDataFile(QStringLiteral("WALK1.dg"));
    harness.start();
    harness.selectTrial(QStringLiteral("walk1"), QStringLiteral("DG"));
    harness.window().launcher().cmdAnimate_Click();
    QCOMPARE(harness.starter.last().program, harness.progDir + QStringLiteral("/kadrix.EXE"));
    QCOMPARE(harness.starter.last().arguments.last(), QStringLiteral("WALK1.dg"));
}

void LauncherTest::animateMenuFollowsTheTrialsFiles_data()
{
    // clang-format off
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QList<bool>>("enabled");

    QTest::newRow("refined data only") << QStringList{"walk1.cn"}
        << QList<bool>{false, true, false, false};
    QTest::newRow("digitized and filtered") << QStringList{"walk1.dg", "WALK1.KM", "walk2.sn"}
        << QList<bool>{true, false, true, false};
    QTest::newRow("all four") << QStringList{"walk1.dg", "walk1.cn", "walk1.km", "walk1.sn"}
        << QList<bool>{true, true, true, true};
    // clang-format on
}

void LauncherTest::animateMenuFollowsTheTrialsFiles()
{
    QFETCH(QStringList, files);
    QFETCH(QList<bool>, enabled);
    MainWindowHarness harness;
    for (const QString& file : files)
        harness.addDataFile(file);
    harness.start();
    harness.selectTrial(QStringLiteral("walk1"), QStringLiteral("CN"));

    Q_EMIT harness.ui().mnuImages->aboutToShow();
    for (int i = 0; i < 4; ++i)
        QCOMPARE(harness.ui().mnuKadrix.at(static_cast<size_t>(i))->isEnabled(), enabled.at(i));
    QVERIFY(harness.messages.boxes.empty());
}

void LauncherTest::animateMenuWithoutTrialKeepsItsItems()
{
    MainWindowHarness harness;
    harness.start();
    harness.ui().mnuKadrix[2]->setEnabled(false);
    Q_EMIT harness.ui().mnuImages->aboutToShow();
    QCOMPARE(harness.messages.texts(),
             QStringList{"Select a trial from the Data or Conversion menus first."});
    QVERIFY(harness.ui().mnuKadrix[0]->isEnabled());
    QVERIFY(!harness.ui().mnuKadrix[2]->isEnabled());
}

void LauncherTest::animateMenuItemsStartCommands_data()
{
    // clang-format off
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("file");

    QTest::newRow("digitized") << 0 << "Walk1.dg";
    QTest::newRow("refined") << 1 << "Walk1.cn";
    QTest::newRow("filtered") << 2 << "Walk1.km";
    QTest::newRow("simulated") << 3 << "Walk1.sn";
    QTest::newRow("other index") << 7 << "Walk1";
    // clang-format on
}

void LauncherTest::animateMenuItemsStartCommands()
{
    QFETCH(int, index);
    QFETCH(QString, file);
    MainWindowHarness harness;
    harness.start();
    harness.selectTrial(QStringLiteral("Walk1"), QStringLiteral("DG"));

    harness.window().launcher().mnuKadrix_Click(index);
    const StartRequest& request = harness.starter.last();
    const QString program = harness.progDir + QStringLiteral("/Kadrix.exe");
    QCOMPARE(request.kind, StartKind::Command);
    QCOMPARE(request.program, program);
    QCOMPARE(request.arguments, QStringList{file});
    QCOMPARE(request.showCode, 5);
    QCOMPARE(request.workingDirectory, harness.dataDir);
    QCOMPARE(request.commandText, program + QLatin1Char(' ') + file);
    QCOMPARE(harness.state().TrialPath, file);
}

void LauncherTest::commandLineHelp()
{
    MainWindowHarness harness;
    harness.start();
    harness.ui().mnuCommandLine->trigger();
    const StartRequest& request = harness.starter.last();
    QCOMPARE(request.kind, StartKind::Command);
    QCOMPARE(request.commandText, harness.progDir + QStringLiteral("/Kadrix /?"));
    QCOMPARE(request.arguments, QStringList{"/?"});
    QCOMPARE(request.showCode, 5);
}

void LauncherTest::runProgramStartsAndOffersOutput_data()
{
    // clang-format off
    QTest::addColumn<int>("offer");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("notepad");

    QTest::newRow("no offer") << 0 << MessageAnswer::Yes << false << false;
    QTest::newRow("offer declined") << 1 << MessageAnswer::No << true << false;
    QTest::newRow("offer taken") << 1 << MessageAnswer::Yes << true << true;
    // clang-format on
}

void LauncherTest::runProgramStartsAndOffersOutput()
{
    QFETCH(int, offer);
    QFETCH(MessageAnswer, answer);
    QFETCH(bool, asked);
    QFETCH(bool, notepad);
    MainWindowHarness harness;
    writeFile(harness.progDir + QStringLiteral("/scalvane.exe"), "stand-in");
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.start();
    AppState& state = harness.state();
    state.ProgName = QStringLiteral("Scalvane");
    state.ProgPath = harness.progDir + QStringLiteral("/Scalvane.exe");
    harness.messages.answers.push_back(answer);

    QCOMPARE(
        harness.window().launcher().RunProgram(state.ProgPath, QStringLiteral("walk1.dg"), offer),
        0);
    const StartRequest& start = harness.starter.requests.at(0);
    QCOMPARE(start.kind, StartKind::Shell);
    QCOMPARE(start.program, harness.progDir + QStringLiteral("/scalvane.exe"));
    QCOMPARE(start.arguments, QStringList{"walk1.dg"});
    QCOMPARE(start.workingDirectory, harness.dataDir);
    QCOMPARE(start.showCode, 5);
    QCOMPARE(start.commandText, state.ProgPath.toUpper() + QStringLiteral(" WALK1.DG"));

    QCOMPARE(harness.messages.boxes.size(), size_t(asked ? 1 : 0));
    if (asked) {
        const MessageBox& box = harness.messages.boxes.front();
        QCOMPARE(box.text, QStringLiteral("Do you want to view the output produced by the program, "
                                          "\nSCALVANE.  If so, click Yes to view the output?"));
        QCOMPARE(box.title, QStringLiteral("View output"));
        QCOMPARE(box.buttons, MessageButtons::YesNo);
        QCOMPARE(box.icon, MessageIcon::Question);
    }
    QCOMPARE(harness.starter.requests.size(), size_t(notepad ? 2 : 1));
    if (notepad) {
        const QString output = harness.dataDir + QStringLiteral("/Scalvane.out");
        const StartRequest& view = harness.starter.requests.at(1);
        QCOMPARE(view.kind, StartKind::Command);
        QCOMPARE(view.program, QStringLiteral("notepad.exe"));
        QCOMPARE(view.commandText, QStringLiteral("notepad.exe ") + output);
        QCOMPARE(view.showCode, 1);
        QCOMPARE(state.ViewerFile, output);
        QCOMPARE(state.TaskId, 4243.0);
    }
}

void LauncherTest::runProgramWithMissingProgram()
{
    MainWindowHarness harness;
    harness.start();
    harness.state().TaskId = 17;
    const QString missing = harness.progDir + QStringLiteral("/Scalvane.exe");
    QCOMPARE(harness.window().launcher().RunProgram(missing, QStringLiteral("walk1.dg"), 1), 1);
    QVERIFY(harness.starter.requests.empty());
    QCOMPARE(harness.state().TaskId, 17.0);
    QCOMPARE(harness.messages.texts(),
             QStringList{QStringLiteral("Error opening file: ") + missing.toUpper() +
                         QStringLiteral("\n\n\"File not found\"  (53)")});
}

void LauncherTest::doubleClickOnDataFileAnimates()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("run2.dg"));
    harness.start();
    FileList* list = harness.ui().filDatafiles;
    const QPoint item = list->visualRect(list->model()->index(0, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item);
    QCOMPARE(harness.starter.requests.size(), size_t(1));
    QCOMPARE(harness.starter.last().arguments, (QStringList{"/q", "/1", "/r", "run2.dg"}));
}

void LauncherTest::trialOnCommandLineIsAnimatedAtStart()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.start(QStringLiteral("walk1.dg"));
    QCOMPARE(harness.starter.requests.size(), size_t(1));
    QCOMPARE(harness.starter.last().arguments, (QStringList{"/q", "/1", "/r", "walk1.dg"}));
    QCOMPARE(harness.starter.last().workingDirectory, harness.dataDir);
}

QTEST_MAIN(LauncherTest)
#include "tst_launcher.moc"
