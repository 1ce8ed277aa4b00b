// How a Linux host starts programs and keeps settings: the system tools'
// arguments, a start that cannot be made or fails, a Windows program started
// through Wine without its log, how a watched start ended, and the settings
// file, which a named pipe in its place does not hold up.

#include "FakeMessages.h"
#include "HostFiles.h"
#include "TestFiles.h"
#include "platform/DetachedStart.h"
#include "platform/HostPrograms.h"
#include "platform/NativeNames.h"
#include "platform/ProcessStarter.h"
#include "platform/QtSettingsStore.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace kadrix;
using kadrix::test::makeDirectory;
using kadrix::test::writeFile;

class PosixHostTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void systemToolsGetFilesThatAreNoOptions_data();
    void systemToolsGetFilesThatAreNoOptions();
    void aStartInADirectoryThatHasGoneIsReported();
    void aFailedStartReportsItsOwnError_data();
    void aFailedStartReportsItsOwnError();
    void aWindowsProgramStartsWithoutItsLog_data();
    void aWindowsProgramStartsWithoutItsLog();
    void aWatchedStartTellsHowItEnded_data();
    void aWatchedStartTellsHowItEnded();
    void settingsLiveInAFile();
};

void PosixHostTest::systemToolsGetFilesThatAreNoOptions_data()
{
    // clang-format off
    QTest::addColumn<QString>("variable"); // KADRIX_NOTEPAD; "$" is a program that exists
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("expected"); // the program, then its arguments
    QTest::addColumn<QString>("failure");

    QTest::newRow("option-like names") << "$ --new" << QStringList{"-rf.dg", "--help.dg", "+5", "/data/-x.dg"} << QStringList{"$", "--new", "./-rf.dg", "./--help.dg", "./+5", "/data/-x.dg"} << "";
    QTest::newRow("named program missing") << "no-such-editor --new" << QStringList{"a.txt"} << QStringList{""} << "The text editor named in the environment variable KADRIX_NOTEPAD is \"no-such-editor\", which was not found.";
    QTest::newRow("named file no program") << "$.txt" << QStringList{} << QStringList{""} << "The text editor named in the environment variable KADRIX_NOTEPAD is \"$.txt\", which is not a program that can be started.";
    // clang-format on
}

void PosixHostTest::systemToolsGetFilesThatAreNoOptions()
{
    QFETCH(QString, variable);
    QFETCH(QStringList, files);
    QFETCH(QStringList, expected);
    QFETCH(QString, failure);
    QTemporaryDir root;
    const QString program = root.filePath(QStringLiteral("editor"));
    writeFile(program, "#!/bin/sh\n");
    writeFile(program + QStringLiteral(".txt"));
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), root.path());
    environment.insert(QStringLiteral("KADRIX_NOTEPAD"), variable.replace('$', program));
    const ProgramToStart target =
        HostPrograms(environment).map(QStringLiteral("notepad.exe"), files, root.path());
    QCOMPARE(QStringList(target.program) + target.arguments,
             expected.replaceInStrings("$", program));
    QCOMPARE(target.failure, failure.replace('$', program));
}

// The box names the program and the directory as the user sees them, odd
// bytes written out, and nothing is started.
void PosixHostTest::aStartInADirectoryThatHasGoneIsReported()
{
    QTemporaryDir root;
    const QString program = root.filePath(QStringLiteral("tool")) + QChar(0xDCFF);
    writeFile(program, "#!/bin/sh\n");
    ::chmod(encodeNativeName(program).constData(), 0700);
    const QString gone = root.filePath(QStringLiteral("gone")) + QChar(0xDCFE);
    test::FakeMessages messages;
    ProcessStarter starter{messages};
    QCOMPARE(starter.start({StartKind::Command, program, {}, gone, kShow, {}}), 0.0);
    QCOMPARE(messages.texts(),
             QStringList{QStringLiteral("The program could not be started:\n") +
                         shownName(program) + QStringLiteral("\n\nThe directory to start it in, ") +
                         shownName(gone) + QStringLiteral(", was not found.")});
    ::unlink(encodeNativeName(program).constData()); // beyond QTemporaryDir's reach
}

void PosixHostTest::aFailedStartReportsItsOwnError_data()
{
    QTest::addColumn<QByteArray>("program"); // the program file's contents
    QTest::addColumn<QString>("directory");  // under the temporary root; "" for the current one
    QTest::addColumn<int>("error");

    QTest::newRow("directory gone") << QByteArray("#!/bin/sh\n") << "gone" << ENOENT;
    QTest::newRow("no program") << QByteArray("not a program") << "" << ENOEXEC;
}

// A program whose start fails reports its error before the id of its
// process is reported (the child that forked it is held back until then):
// the failure says what failed, never "Success".
void PosixHostTest::aFailedStartReportsItsOwnError()
{
    QFETCH(QByteArray, program);
    QFETCH(QString, directory);
    QFETCH(int, error);
    QTemporaryDir root;
    const QString path = root.filePath(QStringLiteral("tool"));
    writeFile(path, program);
    ::chmod(encodeNativeName(path).constData(), 0700);
    setBeforeIdReported([](qint64 processId) { ::waitpid(pid_t(processId), nullptr, 0); });
    const DetachedStart started =
        startDetached(path, {}, directory.isEmpty() ? QString() : root.filePath(directory));
    setBeforeIdReported(nullptr);
    QCOMPARE(started.processId, 0);
    QCOMPARE(started.failure, QString::fromLocal8Bit(std::strerror(error)));
}

void PosixHostTest::aWindowsProgramStartsWithoutItsLog_data()
{
    QTest::addColumn<QString>("state"); // XDG_STATE_HOME, under the temporary root
    QTest::addColumn<int>("error");

    QTest::newRow("read-only") << "read-only" << EACCES;
    QTest::newRow("a file in its place") << "file" << ENOTDIR;
}

// A log directory that cannot be written (a read-only or full home) keeps
// no Windows program from starting: it starts without its log, and the
// status says where the log could not be written.
void PosixHostTest::aWindowsProgramStartsWithoutItsLog()
{
    QFETCH(QString, state);
    QFETCH(int, error);
    QTemporaryDir root;
    const QString wine = root.filePath(QStringLiteral("wine"));
    writeFile(wine, "#!/bin/sh\n: > started\n");
    ::chmod(encodeNativeName(wine).constData(), 0700);
    writeFile(root.filePath(QStringLiteral("Kadrix.exe")), "MZ" + QByteArray(0x7E, '\0'));
    writeFile(root.filePath(QStringLiteral("file")));
    test::makeDirectory(root.filePath(QStringLiteral("read-only")));
    ::chmod(QFile::encodeName(root.filePath(QStringLiteral("read-only"))).constData(), 0500);
    if (error == EACCES && !test::permissionsAreEnforced())
        QSKIP("root writes in a read-only directory");
    const QByteArray ownState = qgetenv("XDG_STATE_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_STATE_HOME", ownState);
        qunsetenv("KADRIX_WINE");
    });
    qputenv("XDG_STATE_HOME", QFile::encodeName(root.filePath(state)));
    qputenv("KADRIX_WINE", QFile::encodeName(wine));
    test::FakeMessages messages;
    ProcessStarter starter{messages};
    QStringList statuses;
    connect(&starter, &Starter::progressChanged, [&](const QString& text) { statuses << text; });

    QVERIFY(starter.start({StartKind::Command,
                           root.filePath(QStringLiteral("Kadrix.exe")),
                           {QStringLiteral("WALK1.DG")},
                           root.path(),
                           kShow,
                           {}}) > 0);
    QTRY_COMPARE(statuses.size(), 2);
    QCOMPARE(statuses.last(), QStringLiteral("Started KADRIX.EXE through Wine without a log: ") +
                                  root.filePath(state) + QStringLiteral("/kadrix95 cannot be ") +
                                  QStringLiteral("written (%1).").arg(std::strerror(error)));
    QTRY_VERIFY(QFile::exists(root.filePath(QStringLiteral("started"))));
    QCOMPARE(messages.texts(), QStringList());
}

void PosixHostTest::aWatchedStartTellsHowItEnded_data()
{
    QTest::addColumn<bool>("windows"); // a Windows program, run by a stand-in for Wine
    QTest::addColumn<QByteArray>("ending");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("code");

    QTest::newRow("exit status") << false << QByteArray("exit 5") << 0 << 5;
    QTest::newRow("signal") << false << QByteArray("kill -9 $$") << 1 << 9;
    QTest::newRow("through Wine") << true << QByteArray("exit 4") << 0 << 4;
}

// The end of a program started detached is learnt from the process that
// watches it, and of a Windows program from Wine's exit code in its log.
void PosixHostTest::aWatchedStartTellsHowItEnded()
{
    QFETCH(bool, windows);
    QFETCH(QByteArray, ending);
    QFETCH(int, kind);
    QFETCH(int, code);
    QTemporaryDir root;
    const QString script = root.filePath(QStringLiteral("tool"));
    writeFile(script, "#!/bin/sh\n" + ending + "\n");
    ::chmod(encodeNativeName(script).constData(), 0700);
    const QString program = windows ? root.filePath(QStringLiteral("Xfer2DG.exe")) : script;
    if (windows)
        writeFile(program, "MZ" + QByteArray(0x7E, '\0'));
    const auto restore = qScopeGuard([] { qunsetenv("KADRIX_WINE"); });
    qputenv("KADRIX_WINE", QFile::encodeName(script));
    test::FakeMessages messages;
    ProcessStarter starter{messages};
    std::vector<std::pair<qint64, ProgramEnd>> ends;
    connect(&starter, &Starter::programEnded,
            [&](qint64 start, const ProgramEnd& end) { ends.emplace_back(start, end); });
    const qint64 start =
        starter.startWatched({StartKind::Shell, program, {}, root.path(), kShow, {}});
    QVERIFY(start > 0);
    QTRY_COMPARE(ends.size(), size_t(1));
    QCOMPARE(ends.front().first, start);
    QCOMPARE(int(ends.front().second.kind), kind);
    QCOMPARE(ends.front().second.code, code);
}

void PosixHostTest::settingsLiveInAFile()
{
    const QString configuration = qEnvironmentVariable("XDG_CONFIG_HOME");
    QVERIFY2(!configuration.isEmpty(), "tests run with a configuration directory of their own");
    QtSettingsStore store;
    QCOMPARE(store.getSetting("Movarta", "Startup", "Datadir", "default"),
             QStringLiteral("default"));
    store.saveSetting("Movarta", "Startup", "Datadir", "/data/with blanks");
    QSettings direct(configuration + QStringLiteral("/Movarta/Movarta.conf"), QSettings::IniFormat);
    QCOMPARE(direct.value(QStringLiteral("Startup/Datadir")).toString(), "/data/with blanks");
    // A pipe in place of a settings file would hold the program at its
    // first reading: the store is left alone, the defaults serve.
    const QString pipe = configuration + QStringLiteral("/Movarta.conf");
    QVERIFY(test::makeNamedPipe(pipe));
    QCOMPARE(store.getSetting("Movarta", "Startup", "Datadir", "default"),
             QStringLiteral("default"));
    store.saveSetting("Movarta", "Startup", "Datadir", "/elsewhere");
    QVERIFY(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile()); // still the pipe
    QFile::remove(pipe);
    QCOMPARE(store.getSetting("Movarta", "Startup", "Datadir", "default"), "/data/with blanks");
    // A directory whose name is no UTF-8 is read back as its very bytes by
    // the next start: here from a copy of the file, which this process's
    // QSettings has not kept in memory.
    const QString odd = decodeNativeName("/data/M\xfcller");
    store.saveSetting("Movarta", "Startup", "Datadir", odd);
    const QString nextStart = configuration + QStringLiteral("/next start");
    makeDirectory(nextStart + QStringLiteral("/Movarta"));
    QVERIFY(QFile::copy(configuration + QStringLiteral("/Movarta/Movarta.conf"),
                        nextStart + QStringLiteral("/Movarta/Movarta.conf")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nextStart);
    QCOMPARE(store.getSetting("Movarta", "Startup", "Datadir", "default"), odd);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configuration);
}

QTEST_MAIN(PosixHostTest)
#include "tst_posixhost.moc"
