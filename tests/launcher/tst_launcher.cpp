// What each button and menu item of the front-end starts: the trial
// buttons, the "&Animate", "&Data", "&Convert data ..." and "&Programs"
// menus, the system tools, printing, "Command line help", the two places
// that animate at once, and RunProgram under them; and that every start
// acts on the file the user picked when two names differ only in case.

#include "Clicks.h"
#include "HostFiles.h"
#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "launcher/DataMenu.h"

#include <QAction>
#include <QDir>
#include <QFile>

using namespace kadrix;
using namespace kadrix::test;

namespace {

// `text` with <prog> standing for the program directory, <data> for the
// data directory, and <PROG> and <DATA> for both in upper case.
QString expand(const MainWindowHarness& harness, QString text)
{
    return text.replace("<prog>", harness.progDir)
        .replace("<data>", harness.dataDir)
        .replace("<PROG>", harness.progDir.toUpper())
        .replace("<DATA>", harness.dataDir.toUpper());
}

// "S5 program|argument|... = command text": kind (Shell or Command), show code.
// The command text shows Windows its own separators, compared as slashes.
QString render(const StartRequest& start)
{
    return QStringLiteral("%1%2 %3 = %4")
        .arg(start.kind == StartKind::Shell ? 'S' : 'C')
        .arg(start.showCode)
        .arg((QStringList(start.program) + start.arguments).join('|'),
             QDir::fromNativeSeparators(start.commandText));
}

// Picks the trial as a click in its list would, when `trial` is listed;
// else sets the trial's names directly.
void pickTrial(MainWindowHarness& harness, const QString& trial)
{
    for (FileList* list : {harness.ui().filDatafiles, harness.ui().filConverts}) {
        if (list->names().contains(trial))
            return clickFile(list, trial);
    }
    harness.selectTrial(trial.section('.', 0, -2), trial.section('.', -1));
    setTrialPath(harness.state(), trial);
}

// Clicks the button or menu item with `caption`, enabled first; or
// double-clicks the trial; or calls a Data menu item by its index.
void perform(MainWindowHarness& harness, const QString& caption, const QString& trial)
{
    if (caption.startsWith(QLatin1String("Data menu item ")))
        return harness.window().dataMenu().mnuDatafile_Click(caption.section(' ', -1).toInt());
    if (caption == QLatin1String("double-click"))
        return clickFile(harness.ui().filDatafiles, trial, true);
    QObject* control = harness.control(caption);
    QVERIFY2(control, qPrintable(caption));
    control->setProperty("enabled", true);
    QMetaObject::invokeMethod(control, qobject_cast<QAction*>(control) ? "trigger" : "click");
}

} // namespace

class LauncherTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void handlersStartTheirPrograms_data();
    void handlersStartTheirPrograms();
};

void LauncherTest::handlersStartTheirPrograms_data()
{
    // clang-format off
    QTest::addColumn<QString>("action");     // empty: the trial is named on the command line
    QTest::addColumn<QStringList>("files");  // under the temporary root; prog/ holds Kadrix.exe
    QTest::addColumn<QString>("trial");
    QTest::addColumn<QString>("switches");
    QTest::addColumn<QStringList>("starts"); // as render() writes them
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("refreshes");
    QTest::addColumn<bool>("startsFail"); // the Starter starts nothing

    const QStringList walk1{"data/walk1.dg"}, twins{"data/walk.dg", "data/WALK.DG"}, none;
    const QString animate = "S5 <prog>/Kadrix.exe|/q|/1|/r|";
    const QString notFound = "\n\n\"File not found\"  (53)";
    const QString scalvane = "S5 <prog>/Scalvane.exe|walk1.dg = <PROG>/SCALVANE.EXE WALK1.DG";
    const QString output = "C1 notepad.exe|<data>/Scalvane.out = notepad.exe <data>/Scalvane.out";

    QTest::newRow("&Animate only") << "&Animate only" << walk1 << "walk1.DG" << "/V1 " << QStringList{animate + "/V1|walk1.dg = <PROG>/KADRIX.EXE /q /1 /r /V1 WALK1.DG"} << none << false << false;
    QTest::newRow("&Animate only, other cases on the disk") << "&Animate only" << QStringList{"data/WALK1.dg", "prog/kadrix.EXE"} << "walk1.DG" << "" << QStringList{"S5 <prog>/kadrix.EXE|/q|/1|/r|WALK1.dg = <PROG>/KADRIX.EXE /q /1 /r WALK1.DG"} << none << false << false;
    QTest::newRow("&Animate only, no trial") << "&Animate only" << none << "." << "" << QStringList{animate + ". = <PROG>/KADRIX.EXE /q /1 /r ."} << none << false << false;
    QTest::newRow("&Animate only, shell characters") << "&Animate only" << QStringList{"data/a b;$(touch x)'q'&.dg"} << "a b;$(touch x)'q'&.dg" << "" << QStringList{animate + "a b;$(touch x)'q'&.dg = <PROG>/KADRIX.EXE /q /1 /r A B;$(TOUCH X)'Q'&.DG"} << none << false << false;
    QTest::newRow("&View and edit") << "&View and edit" << walk1 << "walk1.DG" << "/R /Z " << QStringList{"S5 <prog>/Kadrix.exe|/R|/Z|walk1.dg = <PROG>/KADRIX.EXE /R /Z WALK1.DG"} << none << false << false;
    QTest::newRow("&Edit && convert") << "&Edit && convert" << QStringList{"data/run2.km"} << "run2.KM" << "/F /V1 " << QStringList{"S5 <prog>/Kadrix.exe|/a|/F|/V1|run2.km = <PROG>/KADRIX.EXE /a /F /V1 RUN2.KM"} << none << false << false;
    QTest::newRow("double-click on a data file") << "double-click" << walk1 << "walk1.dg" << "" << QStringList{animate + "walk1.dg = <PROG>/KADRIX.EXE /q /1 /r WALK1.DG"} << none << false << false;
    QTest::newRow("trial on the command line") << "" << walk1 << "walk1.dg" << "" << QStringList{animate + "walk1.dg = <PROG>/KADRIX.EXE /q /1 /r WALK1.DG"} << none << false << false;
    QTest::newRow("&Digitized data (.DG)") << "&Digitized data (.DG)" << walk1 << "Walk1.DG" << "" << QStringList{"C5 <prog>/Kadrix.exe|walk1.dg = <prog>/Kadrix.exe walk1.dg"} << none << false << false;
    QTest::newRow("&Simulated data (.SN)") << "&Simulated data (.SN)" << walk1 << "Walk1.DG" << "" << QStringList{"C5 <prog>/Kadrix.exe|walk1.sn = <prog>/Kadrix.exe walk1.sn"} << none << false << false;
    QTest::newRow("Command line help") << "Command line help" << none << "." << "" << QStringList{"C5 <prog>/Kadrix|/? = <prog>/Kadrix /?"} << none << false << false;
    QTest::newRow("Scalvane, output shown") << "&Refine/scale data (Scalvane)" << QStringList{"data/walk1.dg", "prog/Scalvane.exe"} << "walk1.CSV" << "" << QStringList{scalvane, output} << QStringList{"Do you want to view the output produced by the program, \nSCALVANE.  If so, click Yes to view the output?"} << false << false;
    QTest::newRow("Scalvane not started: no output offered") << "&Refine/scale data (Scalvane)" << QStringList{"data/walk1.dg", "prog/Scalvane.exe"} << "walk1.CSV" << "" << QStringList{scalvane} << none << false << true;
    QTest::newRow("Scalvane missing") << "&Refine/scale data (Scalvane)" << walk1 << "walk1.CSV" << "" << none << QStringList{"Error opening file: <PROG>/SCALVANE.EXE" + notFound} << false << false;
    QTest::newRow("&Graph/animate data") << "&Graph/animate data" << walk1 << "walk1.CSV" << "" << QStringList{"S5 <prog>/Kadrix.exe|walk1.dg = <PROG>/KADRIX.EXE WALK1.DG"} << none << false << false;
    QTest::newRow("&Edit/view data in ASCII") << "&Edit/view data in ASCII" << walk1 << "walk1.CSV" << "" << QStringList{"C5 Notepad.exe|walk1.dg = Notepad.exe walk1.dg"} << none << false << false;
    QTest::newRow("Re&number data") << "Re&number data" << walk1 << "walk1.CSV" << "" << QStringList{"C5 <prog>/Sequator.exe|walk1.dg = <prog>/Sequator.exe walk1.dg"} << none << false << false;
    QTest::newRow("Re&number data without .dg") << "Re&number data" << none << "walk1.CSV" << "" << none << QStringList{"Error opening file: <DATA>/WALK1.DG" + notFound} << false << false;
    QTest::newRow("unknown Data menu item") << "Data menu item 9" << none << "walk1.CSV" << "" << none << QStringList{"Program select error in Datafile menu."} << false << false;
    QTest::newRow("Run &Xfer2DG") << "Run &Xfer2DG" << QStringList{"data/walk 2.csv", "prog/Xfer2DG.exe"} << "walk 2.CSV" << "" << QStringList{"S5 <prog>/Xfer2DG.exe|walk 2.csv = <PROG>/XFER2DG.EXE WALK 2.CSV"} << none << true << false;
    QTest::newRow(".cda file") << "&Peak Performance" << QStringList{"data/walk.cda"} << "walk.TXT" << "" << QStringList{"C5 <prog>/Kadrix.exe|/A|walk.cda = <prog>/Kadrix.exe /A walk.cda"} << none << false << false;
    QTest::newRow("ASCII &text file") << "ASCII &text file" << QStringList{"data/walk.txt"} << "walk.TXT" << "" << QStringList{"C5 <prog>/Xfer2DG.exe|walk.txt = <prog>/Xfer2DG.exe walk.TXT"} << none << false << false;
    QTest::newRow("&Elite") << "&Elite" << none << "walk.TXT" << "" << none << QStringList{"Not yet implemented!"} << false << false;
    QTest::newRow("&Vicon") << "&Vicon" << none << "walk.TXT" << "" << none << none << false << false;
    QTest::newRow("Ariel &3T: the whole text upper case") << "&3T" << QStringList{"data/walk1.3t"} << "Walk1.DG" << "/V1 " << QStringList{"S5 <prog>/Kadrix.exe|/A|walk1.3t = <PROG>/KADRIX.EXE /A WALK1.3T"} << none << false << false;
    QTest::newRow("&Acrospin") << "&Acrospin" << QStringList{"data/walk1.ACD", "prog/Acrospin.exe"} << "walk1.DG" << "" << QStringList{"S5 <prog>/Acrospin.exe|walk1.ACD = <PROG>/ACROSPIN.EXE WALK1.ACD"} << none << true << false;
    QTest::newRow("&Acrospin without .acd") << "&Acrospin" << QStringList{"data/run2.acd", "prog/Acrospin.exe"} << "walk1.DG" << "" << none << QStringList{"Acrospin file (.ACD) not found in current data directory."} << false << false;
    QTest::newRow("&Xfer2DG, no trial") << "&Xfer2DG" << QStringList{"prog/Xfer2DG.exe"} << "." << "" << QStringList{"S5 <prog>/Xfer2DG.exe|. = <PROG>/XFER2DG.EXE ."} << none << true << false;
    QTest::newRow("&Calculator") << "&Calculator" << none << "." << "" << QStringList{"C1 calc.exe = calc.exe"} << none << false << false;
    QTest::newRow("&DOS prompt") << "&DOS prompt" << none << "." << "" << QStringList{"C1 command.com = command.com"} << none << false << false;
    QTest::newRow("&Explorer") << "&Explorer" << none << "." << "" << QStringList{"C1 explorer.exe = explorer.exe"} << none << false << false;
    QTest::newRow("&Notepad") << "&Notepad" << none << "." << "" << QStringList{"S1 notepad.exe = notepad.exe"} << none << false << false;
    QTest::newRow("&Print, no trial") << "&Print" << none << "" << "" << none << QStringList{"No file was selected."} << false << false;

    // Two names that differ only in letter case: the one picked is started.
    QTest::newRow("twins: &Animate only") << "&Animate only" << twins << "walk.dg" << "" << QStringList{animate + "walk.dg = <PROG>/KADRIX.EXE /q /1 /r WALK.DG"} << none << false << false;
    QTest::newRow("twins: &View and edit") << "&View and edit" << twins << "walk.dg" << "" << QStringList{"S5 <prog>/Kadrix.exe|walk.dg = <PROG>/KADRIX.EXE WALK.DG"} << none << false << false;
    QTest::newRow("twins: &Edit && convert") << "&Edit && convert" << twins << "walk.dg" << "" << QStringList{"S5 <prog>/Kadrix.exe|/a|walk.dg = <PROG>/KADRIX.EXE /a WALK.DG"} << none << false << false;
    QTest::newRow("twins: double-click") << "double-click" << twins << "walk.dg" << "" << QStringList{animate + "walk.dg = <PROG>/KADRIX.EXE /q /1 /r WALK.DG"} << none << false << false;
    QTest::newRow("twins: command line") << "" << twins << "walk.dg" << "" << QStringList{animate + "walk.dg = <PROG>/KADRIX.EXE /q /1 /r WALK.DG"} << none << false << false;
    QTest::newRow("twins: Run &Xfer2DG") << "Run &Xfer2DG" << QStringList{"data/walk.csv", "data/WALK.CSV", "prog/Xfer2DG.exe"} << "walk.csv" << "" << QStringList{"S5 <prog>/Xfer2DG.exe|walk.csv = <PROG>/XFER2DG.EXE WALK.CSV"} << none << true << false;
    QTest::newRow("twins: &Xfer2ACD") << "&Xfer2ACD" << QStringList{"data/walk.dg", "data/WALK.DG", "prog/Xfer2ACD.exe"} << "walk.dg" << "" << QStringList{"S5 <prog>/Xfer2ACD.exe|walk.dg = <PROG>/XFER2ACD.EXE WALK.DG"} << none << true << false;
    QTest::newRow("twins: &Print") << "&Print" << twins << "walk.dg" << "" << QStringList{"S1 notepad.exe|walk.dg = notepad.exe walk.DG"} << none << false << false;
    QTest::newRow("twin siblings: the trial's own spelling") << "&Simulated data (.SN)" << QStringList{"data/walk.DG", "data/WALK.SN", "data/walk.SN"} << "walk.DG" << "" << QStringList{"C5 <prog>/Kadrix.exe|walk.SN = <prog>/Kadrix.exe walk.SN"} << none << false << false;
    // clang-format on
}

void LauncherTest::handlersStartTheirPrograms()
{
    QFETCH(QString, action);
    QFETCH(QStringList, files);
    QFETCH(QString, trial);
    QFETCH(QString, switches);
    QFETCH(QStringList, starts);
    QFETCH(QStringList, messages);
    QFETCH(bool, refreshes);
    QFETCH(bool, startsFail);
    MainWindowHarness harness;
    for (const QString& file : files) {
        // The animation program under another name replaces the usual one.
        if (file.compare(QStringLiteral("prog/Kadrix.exe"), Qt::CaseInsensitive) == 0)
            QFile::remove(harness.progDir + QStringLiteral("/Kadrix.exe"));
        writeFile(harness.path(file), "x\r\n");
    }
    harness.start(action.isEmpty() ? trial : QString());
    AppState& state = harness.state();
    if (!action.isEmpty()) {
        if (!trial.isEmpty())
            pickTrial(harness, trial);
        state.TaskId = 17;
    }
    state.OptionSwitches = switches;
    harness.starter.failing = startsFail;
    // The output is shown in the rows that expect it.
    harness.messages.answers.push_back(starts.join(' ').contains(".out") ? MessageAnswer::Yes
                                                                         : MessageAnswer::No);
    // Written after the last listing: only a refresh lists it.
    harness.addDataFile(QStringLiteral("late.dg"));

    if (!action.isEmpty())
        perform(harness, action, trial);
    QStringList made;
    for (const StartRequest& start : harness.starter.requests) {
        made.append(render(start));
        QCOMPARE(start.workingDirectory, harness.dataDir);
    }
    for (QStringList* texts : {&starts, &messages})
        *texts = expand(harness, texts->join('\v')).split('\v', Qt::SkipEmptyParts);
    // Where the file system ignores letter case, the file asked for is the
    // file on the disk in any case: the starts compare so.
    QCOMPARE(namesToCompare(made), namesToCompare(starts));
    QCOMPARE(harness.messages.texts(), messages);
    // RunProgram's result, stored by "&Refine/scale data", else the last start's.
    const double lastStart = made.isEmpty() ? 17 : startsFail ? 0 : 4242 + double(made.size()) - 1;
    QCOMPARE(state.TaskId, action.contains("Scalvane") ? double(made.isEmpty()) : lastStart);
    if (refreshes) {
        QVERIFY(harness.waitForLists());
        QVERIFY(harness.ui().filDatafiles->names().contains(QStringLiteral("late.dg")));
    }
}

QTEST_MAIN(LauncherTest)
#include "tst_launcher.moc"
