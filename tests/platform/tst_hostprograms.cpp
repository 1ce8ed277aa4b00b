// How the front-end's starts map onto this system: companion programs found
// regardless of letter case, Windows programs through Wine, the desktop's
// own tools, and the real starter's reports and detached starts.

#include "FakeMessages.h"
#include "TestFiles.h"
#include "platform/HostPrograms.h"
#include "platform/ProcessStarter.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

QString makeProgram(const QString& path, const QByteArray& contents = "#!/bin/sh\nexit 0\n")
{
    writeFile(path, contents);
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner |
                                    QFileDevice::ExeGroup | QFileDevice::ExeOther);
    return path;
}

class Sandbox {
public:
    Sandbox()
    {
        bin = root.filePath(QStringLiteral("bin"));
        prog = root.filePath(QStringLiteral("prog"));
        makeDirectory(bin);
        makeDirectory(prog);
        environment.insert(QStringLiteral("PATH"), bin);
    }

    HostPrograms programs() const { return HostPrograms(environment); }

    QTemporaryDir root;
    QString bin;
    QString prog;
    QProcessEnvironment environment;
};

} // namespace

class HostProgramsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void systemToolsByTheirClassicNames_data();
    void systemToolsByTheirClassicNames();
    void environmentVariableWinsOverTheList();
    void firstProgramOfTheListIsTaken();
    void desktopOpenerServesFilesAndDirectories();
    void missingToolIsExplained();
    void companionProgramsAreFoundRegardlessOfCase_data();
    void companionProgramsAreFoundRegardlessOfCase();
    void windowsProgramsGoThroughWine();
    void windowsProgramWithoutWineIsExplained();
    void unusableProgramFilesAreExplained();
    void starterRunsTheProgramDetachedWithItsArguments();
    void starterReportsWhatItCannotStart();
};

void HostProgramsTest::systemToolsByTheirClassicNames_data()
{
    // clang-format off
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tool");
    QTest::newRow("notepad") << "notepad.exe" << int(SystemTool::TextEditor);
    QTest::newRow("Notepad upper case") << "NOTEPAD.EXE" << int(SystemTool::TextEditor);
    QTest::newRow("calculator") << "calc.exe" << int(SystemTool::Calculator);
    QTest::newRow("command prompt") << "command.com" << int(SystemTool::Terminal);
    QTest::newRow("explorer") << "Explorer.exe" << int(SystemTool::FileManager);
    QTest::newRow("not a tool") << "Kadrix.exe" << -1;
    // clang-format on
}

void HostProgramsTest::systemToolsByTheirClassicNames()
{
    QFETCH(QString, name);
    QFETCH(int, tool);
    const std::optional<SystemTool> found = HostPrograms::systemToolNamed(name);
    QCOMPARE(found ? int(*found) : -1, tool);
}

void HostProgramsTest::environmentVariableWinsOverTheList()
{
    Sandbox sandbox;
    makeProgram(sandbox.bin + QStringLiteral("/gedit"));
    sandbox.environment.insert(QStringLiteral("KADRIX_NOTEPAD"),
                               QStringLiteral("my-editor --new-window"));
    const ProgramToStart target =
        sandbox.programs().map(QStringLiteral("notepad.exe"), {QStringLiteral("/data/walk 1.dg")},
                               QStringLiteral("/data"));
    QCOMPARE(target.program, QStringLiteral("my-editor"));
    QCOMPARE(target.arguments, (QStringList{"--new-window", "/data/walk 1.dg"}));
    QVERIFY(target.failure.isEmpty());
}

void HostProgramsTest::firstProgramOfTheListIsTaken()
{
    Sandbox sandbox;
    makeProgram(sandbox.bin + QStringLiteral("/kate"));
    makeProgram(sandbox.bin + QStringLiteral("/gedit"));
    makeProgram(sandbox.bin + QStringLiteral("/xterm"));
    const HostPrograms programs = sandbox.programs();
    QCOMPARE(programs.map(QStringLiteral("notepad.exe"), {}, {}).program,
             sandbox.bin + QStringLiteral("/gedit"));
    QCOMPARE(programs.map(QStringLiteral("command.com"), {}, {}).program,
             sandbox.bin + QStringLiteral("/xterm"));
}

void HostProgramsTest::desktopOpenerServesFilesAndDirectories()
{
    Sandbox sandbox;
    const QString opener = makeProgram(sandbox.bin + QStringLiteral("/xdg-open"));
    const HostPrograms programs = sandbox.programs();
    QCOMPARE(programs.map(QStringLiteral("notepad.exe"), {QStringLiteral("a.txt")}, {}),
             (ProgramToStart{opener, {"a.txt"}, {}}));
    QCOMPARE(programs.map(QStringLiteral("explorer.exe"), {}, QStringLiteral("/data")),
             (ProgramToStart{opener, {"/data"}, {}}));
    // An empty Notepad needs an editor of its own.
    QVERIFY(!programs.map(QStringLiteral("notepad.exe"), {}, {}).failure.isEmpty());
}

void HostProgramsTest::missingToolIsExplained()
{
    Sandbox sandbox;
    const ProgramToStart target = sandbox.programs().map(QStringLiteral("calc.exe"), {}, {});
    QVERIFY(target.program.isEmpty());
    QCOMPARE(target.failure, QStringLiteral("No calculator was found on this system. Name one in "
                                            "the environment variable KADRIX_CALCULATOR."));
}

void HostProgramsTest::companionProgramsAreFoundRegardlessOfCase_data()
{
    // clang-format off
    QTest::addColumn<QString>("asked");
    QTest::newRow("as on the disk") << "prog/Kadrix.exe";
    QTest::newRow("upper case") << "PROG/KADRIX.EXE";
    QTest::newRow("without .exe") << "prog/Kadrix";
    QTest::newRow("relative to the working directory") << "../prog/kadrix.exe";
    // clang-format on
}

void HostProgramsTest::companionProgramsAreFoundRegardlessOfCase()
{
    QFETCH(QString, asked);
    Sandbox sandbox;
    const QString program = makeProgram(sandbox.prog + QStringLiteral("/Kadrix.exe"));
    makeDirectory(sandbox.root.filePath(QStringLiteral("data")));
    const QString path = asked.startsWith(QLatin1String(".."))
                             ? asked
                             : sandbox.root.path() + QLatin1Char('/') + asked;
    const ProgramToStart target = sandbox.programs().map(
        path, {QStringLiteral("WALK1.DG")}, sandbox.root.filePath(QStringLiteral("data")));
    QCOMPARE(QFileInfo(target.program).canonicalFilePath(), QFileInfo(program).canonicalFilePath());
    QCOMPARE(target.arguments, QStringList{"WALK1.DG"});
    QVERIFY(target.failure.isEmpty());
}

void HostProgramsTest::windowsProgramsGoThroughWine()
{
    Sandbox sandbox;
    const QString windowsProgram = sandbox.prog + QStringLiteral("/Scalvane.exe");
    writeFile(windowsProgram, "MZ\x90\x00 a Windows program");
    const QString wine = makeProgram(sandbox.bin + QStringLiteral("/wine"));

    ProgramToStart target =
        sandbox.programs().map(windowsProgram, {QStringLiteral("WALK1.DG")}, {});
    QCOMPARE(target, (ProgramToStart{wine, {windowsProgram, "WALK1.DG"}, {}}));

    sandbox.environment.insert(QStringLiteral("KADRIX_WINE"),
                               QStringLiteral("/opt/loader --quiet"));
    target = sandbox.programs().map(windowsProgram, {}, {});
    QCOMPARE(target, (ProgramToStart{"/opt/loader", {"--quiet", windowsProgram}, {}}));
}

void HostProgramsTest::windowsProgramWithoutWineIsExplained()
{
    Sandbox sandbox;
    const QString windowsProgram = sandbox.prog + QStringLiteral("/Xfer2DG.exe");
    writeFile(windowsProgram, "MZ");
    const ProgramToStart target = sandbox.programs().map(windowsProgram, {}, {});
    QVERIFY(target.program.isEmpty());
    QVERIFY(target.failure.startsWith(QStringLiteral("It is a Windows program")));
    QVERIFY(target.failure.contains(QStringLiteral("KADRIX_WINE")));
}

void HostProgramsTest::unusableProgramFilesAreExplained()
{
    Sandbox sandbox;
    writeFile(sandbox.prog + QStringLiteral("/notes.exe"), "plain text");
    const HostPrograms programs = sandbox.programs();
    QCOMPARE(programs.map(sandbox.prog + QStringLiteral("/notes.exe"), {}, {}).failure,
             QStringLiteral("The file is not a program that can be started."));
    QCOMPARE(programs.map(sandbox.prog + QStringLiteral("/Missing.exe"), {}, {}).failure,
             QStringLiteral("The program file was not found."));
    QCOMPARE(programs.map(sandbox.prog, {}, {}).failure,
             QStringLiteral("It is a directory, not a program."));
}

void HostProgramsTest::starterRunsTheProgramDetachedWithItsArguments()
{
    QTemporaryDir root;
    const QString program = root.filePath(QStringLiteral("prog/Kadrix.exe"));
    makeDirectory(root.filePath(QStringLiteral("prog")));
    QVERIFY(QFile::copy(qEnvironmentVariable("KADRIX_STANDIN"), program));
    const QString data = root.filePath(QStringLiteral("data dir"));
    makeDirectory(data);
    const QString log = root.filePath(QStringLiteral("standin.log"));
    qputenv("KADRIX_STANDIN_LOG", QFile::encodeName(log));

    FakeMessages messages;
    ProcessStarter starter(messages);
    StartRequest request;
    request.program = program;
    request.arguments = QStringList{"/q", "a b;$(touch canary)'\"|&.dg"};
    request.workingDirectory = data;
    QVERIFY(starter.start(request) > 0);
    QTRY_VERIFY(QFile::exists(log) && readFile(log).endsWith('\n'));

    const QJsonObject record = QJsonDocument::fromJson(readFile(log).trimmed()).object();
    QCOMPARE(record.value(QStringLiteral("program")).toString(), QStringLiteral("Kadrix.exe"));
    QCOMPARE(record.value(QStringLiteral("cwd")).toString(), data);
    QCOMPARE(record.value(QStringLiteral("args")).toArray().toVariantList(),
             QVariantList({QStringLiteral("/q"), QStringLiteral("a b;$(touch canary)'\"|&.dg")}));
    QVERIFY(!QFile::exists(data + QStringLiteral("/canary")));
    QVERIFY(messages.boxes.empty());
    qunsetenv("KADRIX_STANDIN_LOG");
}

void HostProgramsTest::starterReportsWhatItCannotStart()
{
    QTemporaryDir root;
    FakeMessages messages;
    ProcessStarter starter(messages);
    StartRequest request;
    request.program = root.filePath(QStringLiteral("prog/Kadrix.exe"));
    QCOMPARE(starter.start(request), 0.0);
    QCOMPARE(messages.texts(),
             QStringList{QStringLiteral("The program could not be started:\n") + request.program +
                         QStringLiteral("\n\nThe program file was not found.")});
    QCOMPARE(messages.boxes.front().icon, MessageIcon::Critical);
    QCOMPARE(messages.boxes.front().title, QStringLiteral("Kadrix95"));

    request.program = QString::fromLocal8Bit(qgetenv("KADRIX_STANDIN"));
    request.workingDirectory = root.filePath(QStringLiteral("gone"));
    QCOMPARE(starter.start(request), 0.0);
    QVERIFY(messages.boxes.back().text.endsWith(QStringLiteral(", was not found.")));
}

QTEST_GUILESS_MAIN(HostProgramsTest)
#include "tst_hostprograms.moc"
