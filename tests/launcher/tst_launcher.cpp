// What each button and menu item of the front-end starts: the trial
// buttons, the "&Animate", "&Data", "&Convert data ..." and "&Programs"
// menus, the system tools, "Command line help", the two places that animate
// at once, and RunProgram under them.

#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "browser/FileList.h"
#include "launcher/DataMenu.h"
#include "launcher/Launcher.h"

#include <QAction>
#include <QFile>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

using Requests = std::vector<StartRequest>;

namespace {

// `text` with <prog> standing for the program directory, and <PROG> and
// <DATA> for the program and data directories in upper case.
QString expand(const MainWindowHarness& harness, QString text)
{
    return text.replace(QStringLiteral("<prog>"), harness.progDir)
        .replace(QStringLiteral("<PROG>"), harness.progDir.toUpper())
        .replace(QStringLiteral("<DATA>"), harness.dataDir.toUpper());
}

// Clicks the button or menu item with `caption`, enabled first; or
// double-clicks the first data file; or calls a Data menu item by its index.
void perform(MainWindowHarness& harness, const QString& caption)
{
    if (caption.startsWith(QLatin1String("Data menu item ")))
        return harness.window().dataMenu().mnuDatafile_Click(caption.section(' ', -1).toInt());
    if (caption == QLatin1String("double-click")) {
        FileList* list = harness.ui().filDatafiles;
        const QPoint item = list->visualRect(list->model()->index(0, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item);
        return QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item);
    }
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
    void runProgram_data();
    void runProgram();
};

void LauncherTest::handlersStartTheirPrograms_data()
{
    // clang-format off
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("trial");
    QTest::addColumn<QString>("switches");
    QTest::addColumn<StartKind>("kind");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("show");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("refreshes");

    const StartKind shell = StartKind::Shell;
    const StartKind command = StartKind::Command;
    const QStringList walk1 = {"data/walk1.dg"};
    const QStringList none;
    const QString question = "Do you want to view the output produced by the program, \nSCALVANE.  If so, click Yes to view the output?";
    const QString notFound = "\n\n\"File not found\"  (53)";

    QTest::newRow("&Animate only") << "&Animate only" << walk1 << "walk1.DG" << "" << shell << "<prog>/Kadrix.exe" << QStringList{"/q", "/1", "/r", "walk1.dg"} << 5 << "<PROG>/KADRIX.EXE /q /1 /r WALK1.DG" << none << false;
    QTest::newRow("&Animate only, switches") << "&Animate only" << walk1 << "walk1.DG" << "/V1 " << shell << "<prog>/Kadrix.exe" << QStringList{"/q", "/1", "/r", "/V1", "walk1.dg"} << 5 << "<PROG>/KADRIX.EXE /q /1 /r /V1 WALK1.DG" << none << false;
    QTest::newRow("&Animate only, other cases on the disk") << "&Animate only" << QStringList{"data/WALK1.dg", "prog/kadrix.EXE"} << "walk1.DG" << "" << shell << "<prog>/kadrix.EXE" << QStringList{"/q", "/1", "/r", "WALK1.dg"} << 5 << "<PROG>/KADRIX.EXE /q /1 /r WALK1.DG" << none << false;
    QTest::newRow("&Animate only, no trial") << "&Animate only" << none << "." << "" << shell << "<prog>/Kadrix.exe" << QStringList{"/q", "/1", "/r", "."} << 5 << "<PROG>/KADRIX.EXE /q /1 /r ." << none << false;
    QTest::newRow("&Animate only, shell characters") << "&Animate only" << QStringList{"data/a b;$(touch x)'q'|&.dg"} << "a b;$(touch x)'q'|&.DG" << "" << shell << "<prog>/Kadrix.exe" << QStringList{"/q", "/1", "/r", "a b;$(touch x)'q'|&.dg"} << 5 << "<PROG>/KADRIX.EXE /q /1 /r A B;$(TOUCH X)'Q'|&.DG" << none << false;
    QTest::newRow("&View and edit") << "&View and edit" << walk1 << "walk1.DG" << "" << shell << "<prog>/Kadrix.exe" << QStringList{"walk1.dg"} << 5 << "<PROG>/KADRIX.EXE WALK1.DG" << none << false;
    QTest::newRow("&View and edit, switches") << "&View and edit" << QStringList{"data/Jump.3D"} << "Jump.3D" << "/R /Z /V2 /S4 " << shell << "<prog>/Kadrix.exe" << QStringList{"/R", "/Z", "/V2", "/S4", "Jump.3D"} << 5 << "<PROG>/KADRIX.EXE /R /Z /V2 /S4 JUMP.3D" << none << false;
    QTest::newRow("&Edit && convert") << "&Edit && convert" << QStringList{"data/run2.km"} << "run2.KM" << "/F /V1 " << shell << "<prog>/Kadrix.exe" << QStringList{"/a", "/F", "/V1", "run2.km"} << 5 << "<PROG>/KADRIX.EXE /a /F /V1 RUN2.KM" << none << false;
    QTest::newRow("double-click on a data file") << "double-click" << walk1 << "" << "" << shell << "<prog>/Kadrix.exe" << QStringList{"/q", "/1", "/r", "walk1.dg"} << 5 << "<PROG>/KADRIX.EXE /q /1 /r WALK1.DG" << none << false;
    QTest::newRow("trial on the command line") << "" << walk1 << "walk1.dg" << "" << shell << "<prog>/Kadrix.exe" << QStringList{"/q", "/1", "/r", "walk1.dg"} << 5 << "<PROG>/KADRIX.EXE /q /1 /r WALK1.DG" << none << false;
    QTest::newRow("&Digitized data (.DG)") << "&Digitized data (.DG)" << walk1 << "Walk1.DG" << "" << command << "<prog>/Kadrix.exe" << QStringList{"walk1.dg"} << 5 << "<prog>/Kadrix.exe Walk1.dg" << none << false;
    QTest::newRow("&Refined data (.CN)") << "&Refined data (.CN)" << walk1 << "Walk1.DG" << "" << command << "<prog>/Kadrix.exe" << QStringList{"Walk1.cn"} << 5 << "<prog>/Kadrix.exe Walk1.cn" << none << false;
    QTest::newRow("&Filtered data (.KM)") << "&Filtered data (.KM)" << walk1 << "Walk1.DG" << "" << command << "<prog>/Kadrix.exe" << QStringList{"Walk1.km"} << 5 << "<prog>/Kadrix.exe Walk1.km" << none << false;
    QTest::newRow("&Simulated data (.SN)") << "&Simulated data (.SN)" << walk1 << "Walk1.DG" << "" << command << "<prog>/Kadrix.exe" << QStringList{"Walk1.sn"} << 5 << "<prog>/Kadrix.exe Walk1.sn" << none << false;
    QTest::newRow("Command line help") << "Command line help" << none << "." << "" << command << "<prog>/Kadrix" << QStringList{"/?"} << 5 << "<prog>/Kadrix /?" << none << false;
    QTest::newRow("Scalvane") << "&Refine/scale data (Scalvane)" << QStringList{"data/walk1.dg", "prog/Scalvane.exe"} << "walk1.CSV" << "" << shell << "<prog>/Scalvane.exe" << QStringList{"walk1.dg"} << 5 << "<PROG>/SCALVANE.EXE WALK1.DG" << QStringList{question} << false;
    QTest::newRow("Scalvane missing") << "&Refine/scale data (Scalvane)" << walk1 << "walk1.CSV" << "" << shell << "" << QStringList{} << 5 << "" << QStringList{"Error opening file: <PROG>/SCALVANE.EXE" + notFound} << false;
    QTest::newRow("&Graph/animate data") << "&Graph/animate data" << walk1 << "walk1.CSV" << "" << shell << "<prog>/Kadrix.exe" << QStringList{"walk1.dg"} << 5 << "<PROG>/KADRIX.EXE WALK1.DG" << none << false;
    QTest::newRow("&Edit/view data in ASCII") << "&Edit/view data in ASCII" << walk1 << "walk1.CSV" << "" << command << "Notepad.exe" << QStringList{"walk1.dg"} << 5 << "Notepad.exe walk1.dg" << none << false;
    QTest::newRow("Re&number data") << "Re&number data" << walk1 << "walk1.CSV" << "" << command << "<prog>/Sequator.exe" << QStringList{"walk1.dg"} << 5 << "<prog>/Sequator.exe walk1.dg" << none << false;
    QTest::newRow("Re&number data without .dg") << "Re&number data" << none << "walk1.CSV" << "" << command << "" << QStringList{} << 5 << "" << QStringList{"Error opening file: <DATA>/WALK1.DG" + notFound} << false;
    QTest::newRow("unknown Data menu item") << "Data menu item 9" << none << "walk1.CSV" << "" << command << "" << QStringList{} << 5 << "" << QStringList{"Program select error in Datafile menu."} << false;
    QTest::newRow("Run &Xfer2DG") << "Run &Xfer2DG" << QStringList{"data/walk 2.csv", "prog/Xfer2DG.exe"} << "walk 2.CSV" << "" << shell << "<prog>/Xfer2DG.exe" << QStringList{"walk 2.csv"} << 5 << "<PROG>/XFER2DG.EXE WALK 2.CSV" << none << true;
    QTest::newRow(".cda file") << "&Peak Performance" << QStringList{"data/walk.cda"} << "walk.TXT" << "" << command << "<prog>/Kadrix.exe" << QStringList{"/A", "walk.cda"} << 5 << "<prog>/Kadrix.exe /A walk.cda" << none << false;
    QTest::newRow("ASCII &text file") << "ASCII &text file" << QStringList{"data/walk.txt"} << "walk.TXT" << "" << command << "<prog>/Xfer2DG.exe" << QStringList{"walk.txt"} << 5 << "<prog>/Xfer2DG.exe walk.TXT" << none << false;
    QTest::newRow("&Elite") << "&Elite" << none << "walk.TXT" << "" << command << "" << QStringList{} << 5 << "" << QStringList{"Not yet implemented!"} << false;
    QTest::newRow("&Vicon") << "&Vicon" << none << "walk.TXT" << "" << command << "" << QStringList{} << 5 << "" << none << false;
    QTest::newRow("Ariel &3T") << "&3T" << QStringList{"data/walk1.3t"} << "Walk1.DG" << "/V1 " << shell << "<prog>/Kadrix.exe" << QStringList{"/a", "walk1.3t"} << 5 << "<PROG>/KADRIX.EXE /a WALK1.3T" << none << false;
    QTest::newRow("&Acrospin") << "&Acrospin" << QStringList{"data/walk1.ACD", "prog/Acrospin.exe"} << "walk1.DG" << "" << shell << "<prog>/Acrospin.exe" << QStringList{"walk1.ACD"} << 5 << "<PROG>/ACROSPIN.EXE WALK1.ACD" << none << true;
    QTest::newRow("&Acrospin without .acd") << "&Acrospin" << QStringList{"data/run2.acd", "prog/Acrospin.exe"} << "walk1.DG" << "" << shell << "" << QStringList{} << 5 << "" << QStringList{"Acrospin file (.ACD) not found in current data directory."} << false;
    QTest::newRow("&Xfer2ACD") << "&Xfer2ACD" << QStringList{"prog/Xfer2ACD.exe"} << "walk1.DG" << "" << shell << "<prog>/Xfer2ACD.exe" << QStringList{"walk1.DG"} << 5 << "<PROG>/XFER2ACD.EXE WALK1.DG" << none << true;
    QTest::newRow("&Xfer2DG") << "&Xfer2DG" << QStringList{"prog/Xfer2DG.exe"} << "walk.CSV" << "" << shell << "<prog>/Xfer2DG.exe" << QStringList{"walk.CSV"} << 5 << "<PROG>/XFER2DG.EXE WALK.CSV" << none << true;
    QTest::newRow("&Xfer2DG, no trial") << "&Xfer2DG" << QStringList{"prog/Xfer2DG.exe"} << "." << "" << shell << "<prog>/Xfer2DG.exe" << QStringList{"."} << 5 << "<PROG>/XFER2DG.EXE ." << none << true;
    QTest::newRow("&Calculator") << "&Calculator" << none << "." << "" << command << "calc.exe" << QStringList{} << 1 << "calc.exe" << none << false;
    QTest::newRow("&DOS prompt") << "&DOS prompt" << none << "." << "" << command << "command.com" << QStringList{} << 1 << "command.com" << none << false;
    QTest::newRow("&Explorer") << "&Explorer" << none << "." << "" << command << "explorer.exe" << QStringList{} << 1 << "explorer.exe" << none << false;
    QTest::newRow("&Notepad") << "&Notepad" << none << "." << "" << shell << "notepad.exe" << QStringList{} << 1 << "notepad.exe" << none << false;
    // clang-format on
}

void LauncherTest::handlersStartTheirPrograms()
{
    QFETCH(QString, action);
    QFETCH(QStringList, files);
    QFETCH(QString, trial);
    QFETCH(QString, switches);
    QFETCH(StartKind, kind);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, show);
    QFETCH(QString, command);
    QFETCH(QStringList, messages);
    QFETCH(bool, refreshes);
    MainWindowHarness harness;
    for (const QString& file : files) {
        // The animation program under another name replaces the usual one.
        if (file.compare(QStringLiteral("prog/Kadrix.exe"), Qt::CaseInsensitive) == 0)
            QFile::remove(harness.progDir + QStringLiteral("/Kadrix.exe"));
        writeFile(harness.path(file), "x\r\n");
    }
    // An empty action: the trial is named on the command line.
    harness.start(action.isEmpty() ? trial : QString());
    if (!action.isEmpty() && !trial.isEmpty())
        harness.selectTrial(trial.section('.', 0, -2), trial.section('.', -1));
    harness.state().OptionSwitches = switches;
    harness.messages.answers.push_back(MessageAnswer::No);
    // Written after the last listing: only a refresh lists it.
    harness.addDataFile(QStringLiteral("late.dg"));

    if (!action.isEmpty())
        perform(harness, action);
    const Requests start{{kind, expand(harness, program), arguments, harness.dataDir, show,
                          expand(harness, command)}};
    QCOMPARE(harness.starter.requests, program.isEmpty() ? Requests{} : start);
    for (QString& message : messages)
        message = expand(harness, message);
    QCOMPARE(harness.messages.texts(), messages);
    if (refreshes) {
        QVERIFY(harness.waitForLists());
        QVERIFY(harness.ui().filDatafiles->names().contains(QStringLiteral("late.dg")));
    }
}

void LauncherTest::runProgram_data()
{
    // clang-format off
    QTest::addColumn<bool>("installed");
    QTest::addColumn<int>("offer");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<int>("starts");
    QTest::addColumn<double>("taskId");

    QTest::newRow("no offer") << true << 0 << MessageAnswer::Yes << 1 << 4242.0;
    QTest::newRow("offer declined") << true << 1 << MessageAnswer::No << 1 << 4242.0;
    QTest::newRow("offer taken") << true << 1 << MessageAnswer::Yes << 2 << 4243.0;
    QTest::newRow("program missing") << false << 1 << MessageAnswer::Yes << 0 << 17.0;
    // clang-format on
}

void LauncherTest::runProgram()
{
    QFETCH(bool, installed);
    QFETCH(int, offer);
    QFETCH(MessageAnswer, answer);
    QFETCH(int, starts);
    QFETCH(double, taskId);
    MainWindowHarness harness;
    if (installed)
        writeFile(harness.progDir + QStringLiteral("/scalvane.exe"), "stand-in");
    harness.start();
    AppState& state = harness.state();
    state.ProgName = QStringLiteral("Scalvane");
    state.ProgPath = harness.progDir + QStringLiteral("/Scalvane.exe");
    state.TaskId = 17;
    harness.messages.answers.push_back(answer);

    QCOMPARE(
        harness.window().launcher().RunProgram(state.ProgPath, QStringLiteral("walk1.dg"), offer),
        installed ? 0 : 1);
    const QString output = harness.dataDir + QStringLiteral("/Scalvane.out");
    Requests expected{{StartKind::Shell, harness.progDir + QStringLiteral("/scalvane.exe"),
                       QStringList{"walk1.dg"}, harness.dataDir, 5,
                       state.ProgPath.toUpper() + QStringLiteral(" WALK1.DG")}};
    expected.push_back({StartKind::Command, QStringLiteral("notepad.exe"), QStringList{output},
                        harness.dataDir, 1, QStringLiteral("notepad.exe ") + output});
    expected.resize(size_t(starts));
    QCOMPARE(harness.starter.requests, expected);
    QCOMPARE(state.TaskId, taskId);
    QCOMPARE(state.ViewerFile, starts == 2 ? output : QString());

    const MessageBox question{QStringLiteral("Do you want to view the output produced by the "
                                             "program, \nSCALVANE.  If so, click Yes to view the "
                                             "output?"),
                              QStringLiteral("View output"), MessageButtons::YesNo,
                              MessageIcon::Question};
    const MessageBox missing{QStringLiteral("Error opening file: ") + state.ProgPath.toUpper() +
                                 QStringLiteral("\n\n\"File not found\"  (53)"),
                             kApplicationTitle, MessageButtons::Ok, MessageIcon::Critical};
    using Boxes = std::vector<MessageBox>;
    QCOMPARE(harness.messages.boxes, !installed ? Boxes{missing}
                                     : offer    ? Boxes{question}
                                                : Boxes{});
}

QTEST_MAIN(LauncherTest)
#include "tst_launcher.moc"
