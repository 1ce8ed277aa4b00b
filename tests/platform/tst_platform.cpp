// The small layers over the host system: path lookup regardless of letter
// case, file tests that never wait on a special file, the system tools'
// arguments, a start that cannot be made, the settings store, twips, and
// where message boxes appear.

#include "FakeMessages.h"
#include "TestFiles.h"
#include "classic/Twips.h"
#include "core/FileTest.h"
#include "platform/DetachedStart.h"
#include "platform/FileErrors.h"
#include "platform/HostPrograms.h"
#include "platform/NativeNames.h"
#include "platform/PathLookup.h"
#include "platform/ProcessStarter.h"
#include "platform/QtMessages.h"
#include "platform/QtSettingsStore.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace kadrix;
using kadrix::test::makeDirectory;
using kadrix::test::writeFile;

class PlatformTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesKeepEveryByte_data();
    void namesKeepEveryByte();
    void resolvesLetterCase_data();
    void resolvesLetterCase();
    void fileTestsOpenOnlyRegularFiles();
    void systemToolsGetFilesThatAreNoOptions_data();
    void systemToolsGetFilesThatAreNoOptions();
    void aStartInADirectoryThatHasGoneIsReported();
    void aFailedStartReportsItsOwnError_data();
    void aFailedStartReportsItsOwnError();
    void aWindowsProgramStartsWithoutItsLog_data();
    void aWindowsProgramStartsWithoutItsLog();
    void aWatchedStartTellsHowItEnded_data();
    void aWatchedStartTellsHowItEnded();
    void settingsTwipsAndPaths();
    void boxesAppearOverTheWindowInUse();
};

// Names that are no UTF-8 come back byte for byte, never become another
// name, and show their odd bytes; letter case is ASCII's alone.
void PlatformTest::namesKeepEveryByte_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("upper");

    QTest::newRow("odd byte") << QByteArray("a\xff.dg") << "a\\xFF.dg" << QByteArray("A\xff.DG");
    QTest::newRow("four-byte letter") << QByteArray("M\xfcller \xf0\x9f\x98\x80.dg") << "M\\xFCller \U0001F600.dg" << QByteArray("M\xfcLLER \xf0\x9f\x98\x80.DG");
    QTest::newRow("byte-order mark first") << QByteArray("\xef\xbb\xbfwalk.dg") << QStringLiteral("\uFEFFwalk.dg") << QByteArray("\xef\xbb\xbfWALK.DG");
    QTest::newRow("byte-order mark within") << QByteArray("a\xef\xbb\xbf\xef\xbb\xbf\xff") << "a\uFEFF\uFEFF\\xFF" << QByteArray("A\xef\xbb\xbf\xef\xbb\xbf\xff");
    QTest::newRow("Osage letter and odd byte") << QByteArray("\xf0\x90\x93\x98\xfc") << "\U000104D8\\xFC" << QByteArray("\xf0\x90\x92\xb0\xfc");
    // clang-format on
}

void PlatformTest::namesKeepEveryByte()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QFETCH(QByteArray, upper);
    QCOMPARE(encodeNativeName(decodeNativeName(bytes)), bytes);
    QCOMPARE(shownName(decodeNativeName(bytes)), shown);
    QCOMPARE(encodeNativeName(upperCased(decodeNativeName(bytes))), upper);
    // Anywhere amid random bytes, too.
    std::mt19937 random(20261207);
    for (int round = 0; round < 500; ++round) {
        QByteArray name(static_cast<qsizetype>(random() % 12), Qt::Uninitialized);
        for (char& byte : name)
            byte = static_cast<char>(random() % 2 ? 0x80 + random() % 0x80 : 1 + random() % 0x7F);
        name.insert(static_cast<qsizetype>(random() % (name.size() + 1)), bytes);
        QCOMPARE(encodeNativeName(decodeNativeName(name)), name);
    }
    QVERIFY(decodeNativeName("a\xff.dg") != decodeNativeName("a\xef\xbf\xbd.dg"));
    // An encoded surrogate is no UTF-8: each of its bytes stands alone.
    QCOMPARE(decodeNativeName("\xc3\xa9\xed\xa0\x80"),
             QString(QChar(0xE9)) + QChar(0xDCED) + QChar(0xDCA0) + QChar(0xDC80));
    QVERIFY(sameIgnoringAsciiCase(QStringLiteral("KADRIX.EXE"), QStringLiteral("Kadrix.exe")));
    QVERIFY(
        !sameIgnoringAsciiCase(QStringLiteral("\u212Aadrix.exe"), QStringLiteral("Kadrix.exe")));
    QVERIFY(!sameIgnoringAsciiCase(QStringLiteral("\u017Fcalvane.exe"),
                                   QStringLiteral("Scalvane.exe")));
    QCOMPARE(foldedAsciiCase(QStringLiteral("\u00C9WALK")), QStringLiteral("\u00C9walk"));
}

void PlatformTest::resolvesLetterCase_data()
{
    // clang-format off
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("found");

    QTest::newRow("exact") << "Data/Walk1.DG" << "Data/Walk1.DG";
    QTest::newRow("upper case") << "DATA/WALK1.DG" << "Data/Walk1.DG";
    QTest::newRow("missing file kept as asked") << "DATA/RUN2.DG" << "Data/RUN2.DG";
    QTest::newRow("missing directory ends the lookup") << "NONE/WALK1.DG" << "NONE/WALK1.DG";
    QTest::newRow("doubled separator") << "DATA//walk1.dg" << "Data/Walk1.DG";
    QTest::newRow("twin asked exactly: lower") << "Data/trial.dg" << "Data/trial.dg";
    QTest::newRow("twin asked exactly: upper") << "Data/TRIAL.DG" << "Data/TRIAL.DG";
    QTest::newRow("no Kelvin sign for K") << "Data/Kadrix.exe" << "Data/Kadrix.exe";
    QTest::newRow("no long s for s") << "Data/scalvane.exe" << "Data/scalvane.exe";
    QTest::newRow("beyond ASCII only as written") << "DATA/M\u00DCller.dg" << "Data/M\u00DCller.dg";
    QTest::newRow("beyond ASCII, A to Z folded") << "DATA/M\u00FCLLER.DG" << "Data/M\u00FCller.dg";
    QTest::newRow("byte-order mark kept") << "DATA/\uFEFFWALK1.DG" << "Data/\uFEFFWalk1.DG";
    // clang-format on
}

void PlatformTest::resolvesLetterCase()
{
    QFETCH(QString, asked);
    QFETCH(QString, found);
    QTemporaryDir root;
    for (const char* name :
         {"Data/Walk1.DG", "Data/trial.dg", "Data/TRIAL.DG", "Data/\u212Aadrix.exe",
          "Data/\u017Fcalvane.exe", "Data/M\u00FCller.dg", "Data/\uFEFFWalk1.DG"})
        writeFile(root.filePath(QString::fromUtf8(name)));
    const QString base = root.path() + QLatin1Char('/');
    QCOMPARE(resolvePathCase(base + asked), base + found);
}

void PlatformTest::fileTestsOpenOnlyRegularFiles()
{
    QTemporaryDir root;
    const QString pipe = root.filePath(QStringLiteral("walk1.sn"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    writeFile(root.filePath(QStringLiteral("walk1.dg")), "x");
    // A blocking open of the pipe or the terminal would never return.
    for (const QString& special :
         {pipe, QStringLiteral("/dev/tty"), QStringLiteral("/dev/null"), root.path()})
        QCOMPARE(TestFileSilent(QString(), special), int(kPathFileAccessError));
    QCOMPARE(TestFileSilent(root.path(), QStringLiteral("WALK1.DG")), 0);
    QCOMPARE(TestFileSilent(root.path(), QStringLiteral("walk2.dg")), int(kFileNotFound));
    QFile file;
    QVERIFY(!openRegularFile(file, root.filePath(QStringLiteral("walk1.dg"))));
    QCOMPARE(file.readAll(), QByteArray("x"));
}

void PlatformTest::systemToolsGetFilesThatAreNoOptions_data()
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

void PlatformTest::systemToolsGetFilesThatAreNoOptions()
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
void PlatformTest::aStartInADirectoryThatHasGoneIsReported()
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

void PlatformTest::aFailedStartReportsItsOwnError_data()
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
void PlatformTest::aFailedStartReportsItsOwnError()
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

void PlatformTest::aWindowsProgramStartsWithoutItsLog_data()
{
    QTest::addColumn<QString>("state"); // XDG_STATE_HOME, under the temporary root
    QTest::addColumn<int>("error");

    QTest::newRow("read-only") << "read-only" << EACCES;
    QTest::newRow("a file in its place") << "file" << ENOTDIR;
}

// A log directory that cannot be written (a read-only or full home) keeps
// no Windows program from starting: it starts without its log, and the
// status says where the log could not be written.
void PlatformTest::aWindowsProgramStartsWithoutItsLog()
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

void PlatformTest::aWatchedStartTellsHowItEnded_data()
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
void PlatformTest::aWatchedStartTellsHowItEnded()
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

void PlatformTest::settingsTwipsAndPaths()
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
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
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

    QCOMPARE(twipsRect(7320, 120, 1215, 615), QRect(488, 8, 81, 41));
    QVERIFY(isFileSystemRoot(QStringLiteral("//")) && !isFileSystemRoot(QStringLiteral("/tmp")));
    QCOMPARE(joinPath(QString(), QStringLiteral("a.dg")), QStringLiteral("a.dg"));
    QCOMPARE(joinPath(QStringLiteral("/data/"), QStringLiteral("a.dg")), "/data//a.dg");
}

// A box is centred on the window the user works in, not on the first one.
void PlatformTest::boxesAppearOverTheWindowInUse()
{
    QWidget first;
    QWidget second;
    first.setGeometry(0, 0, 300, 200);
    second.setGeometry(500, 400, 300, 200);
    first.show();
    second.show();
    QtMessages messages;
    const auto boxCentre = [&messages] {
        QPoint centre;
        QTimer::singleShot(0, [&centre] {
            QWidget* box = QApplication::activeModalWidget();
            centre = box->geometry().center();
            box->close();
        });
        messages.showMessage({QStringLiteral("Saved."),
                              QStringLiteral("Kadrix"),
                              MessageButtons::Ok,
                              MessageIcon::None,
                              {}});
        return centre;
    };
    for (QWidget* window : {&second, &first, &second}) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QVERIFY((boxCentre() - window->geometry().center()).manhattanLength() < 8);
    }
}

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
