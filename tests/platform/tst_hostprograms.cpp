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
#include <QRegularExpression>
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
    void systemTools_data();
    void systemTools();
    void companionProgramsAreFoundRegardlessOfCase_data();
    void companionProgramsAreFoundRegardlessOfCase();
    void windowsProgramsGoThroughWine();
    void unusableProgramFilesAreExplained();
    void starterRunsTheProgramDetachedWithItsArguments();
    void starterReportsWhatItCannotStart();
};

void HostProgramsTest::systemTools_data()
{
    // clang-format off
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("onPath");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("expected"); // the program, then its arguments; "$" is the PATH
    QTest::addColumn<QString>("failure");

    QTest::newRow("the variable wins") << "notepad.exe" << QStringList{"gedit", "my-editor"} << "KADRIX_NOTEPAD=my-editor --new"
        << QStringList{"/data/walk 1.dg"} << QStringList{"$/my-editor", "--new", "/data/walk 1.dg"} << "";
    QTest::newRow("first of the list") << "NOTEPAD.EXE" << QStringList{"kate", "gedit"} << ""
        << QStringList{} << QStringList{"$/gedit"} << "";
    QTest::newRow("terminal") << "command.com" << QStringList{"xterm"} << "" << QStringList{} << QStringList{"$/xterm"} << "";
    QTest::newRow("opener on a file") << "notepad.exe" << QStringList{"xdg-open"} << ""
        << QStringList{"a.txt"} << QStringList{"$/xdg-open", "./a.txt"} << "";
    QTest::newRow("opener on the directory") << "Explorer.exe" << QStringList{"xdg-open"} << ""
        << QStringList{} << QStringList{"$/xdg-open", "/data"} << "";
    QTest::newRow("empty Notepad needs an editor") << "notepad.exe" << QStringList{"xdg-open"} << ""
        << QStringList{} << QStringList{} << "Name one in the environment variable KADRIX_NOTEPAD.";
    QTest::newRow("no calculator") << "calc.exe" << QStringList{} << "" << QStringList{} << QStringList{}
        << "No calculator was found on this system. Name one in the environment variable KADRIX_CALCULATOR.";
    // clang-format on
}

void HostProgramsTest::systemTools()
{
    QFETCH(QString, program);
    QFETCH(QStringList, onPath);
    QFETCH(QString, variable);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);
    QFETCH(QString, failure);
    Sandbox sandbox;
    for (const QString& name : onPath)
        makeProgram(sandbox.bin + QLatin1Char('/') + name);
    if (!variable.isEmpty())
        sandbox.environment.insert(variable.section(QLatin1Char('='), 0, 0),
                                   variable.section(QLatin1Char('='), 1));
    expected.replaceInStrings(QRegularExpression(QStringLiteral("^\\$")), sandbox.bin);

    const ProgramToStart target =
        sandbox.programs().map(program, arguments, QStringLiteral("/data"));
    QCOMPARE(QStringList(target.program) + target.arguments,
             expected.isEmpty() ? QStringList{QString()} : expected);
    QVERIFY2(failure.isEmpty() ? target.failure.isEmpty() : target.failure.endsWith(failure),
             qPrintable(target.failure));
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

    sandbox.environment.remove(QStringLiteral("KADRIX_WINE"));
    QFile::remove(wine);
    target = sandbox.programs().map(windowsProgram, {}, {});
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
