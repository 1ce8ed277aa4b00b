// The real kadrix95 starting the stand-in animation program: what it
// receives and where, what happens when it cannot be started, the settings
// file kadrix95 leaves after "E&xit", and a network share whose server has
// stopped answering, which must hold neither the start nor the window.

#include "TestFiles.h"
#include "XvfbSession.h"
#include "platform/NativeNames.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace kadrix;
using namespace kadrix::test;

namespace {

// The stand-in's one record of a start in `log`; empty while there is none,
// and when there are more.
QJsonObject onlyRecord(const QString& log)
{
    const QList<QByteArray> lines = readFile(log).trimmed().split('\n');
    return lines.size() == 1 ? QJsonDocument::fromJson(lines.constFirst()).object() : QJsonObject();
}

// A program directory, a data directory, a directory of other trials and a
// configuration of their own, and kadrix95 started on them.
class Installation {
public:
    explicit Installation(bool withAnimationProgram = true)
    {
        for (const char* directory : {"prog", "data", "trials", "config/Movarta", "home"})
            makeDirectory(path(directory));
        QSettings settings(path("config/Movarta/Movarta.conf"), QSettings::IniFormat);
        settings.setValue("Startup/Datadir", path("data"));
        settings.setValue("Startup/Progdir", path("prog"));
        if (withAnimationProgram)
            QFile::copy(qEnvironmentVariable("KADRIX_STANDIN"), path("prog/Kadrix.exe"));
    }
    ~Installation() { kadrix.kill(), kadrix.waitForFinished(); }

    QString path(const QString& relative) const { return root.filePath(relative); }

    // Starts kadrix95 in `directory` with one argument of any bytes: the
    // shell reads it from a file and only passes it on, quoted.
    void start(const QByteArray& argument, const QString& directory, const QString& display = {})
    {
        writeFile(path("argument"), argument);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", path("home"));
        environment.insert("XDG_CONFIG_HOME", path("config"));
        environment.insert("KADRIX_STANDIN_LOG", log);
        if (!display.isEmpty()) {
            environment.insert("DISPLAY", display);
            environment.insert("QT_QPA_PLATFORM", "xcb");
        }
        kadrix.setProcessEnvironment(environment);
        kadrix.setWorkingDirectory(path(directory));
        kadrix.start("/bin/sh", {"-c", "exec \"$0\" \"$(cat \"$1\")\"",
                                 qEnvironmentVariable("KADRIX_EXE"), path("argument")});
        QVERIFY(kadrix.waitForStarted());
    }

    // For a failure's message: whether kadrix95 runs, else how it ended.
    QByteArray fate()
    {
        if (kadrix.state() != QProcess::NotRunning)
            return "kadrix95 is running";
        return "kadrix95 ended with " + QByteArray::number(kadrix.exitCode()) + ": " +
               kadrix.readAllStandardError().right(400);
    }

    QTemporaryDir root;
    QString log = path("standin.log");
    QProcess kadrix;
};

} // namespace

class EndToEndLaunchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theTrialReachesTheProgramAsOneArgument_data();
    void theTrialReachesTheProgramAsOneArgument();
    void missingAnimationProgramIsReportedAndExitSavesTheDataDirectory();
    void aShareThatNeverAnswersHoldsNothing_data();
    void aShareThatNeverAnswersHoldsNothing();
};

void EndToEndLaunchTest::theTrialReachesTheProgramAsOneArgument_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("typed"); // "<root>" stands for the installation's root
    QTest::addColumn<QString>("cwd");
    QTest::addColumn<QString>("fileIn"); // where the file lies; empty: nowhere
    QTest::addColumn<QByteArray>("argument"); // the bytes the program receives
    QTest::addColumn<QString>("startedIn");

    QTest::newRow("walk1.dg") << QByteArray("walk1.dg") << "" << "data" << QByteArray("walk1.dg") << "data";
    QTest::newRow("shell characters") << QByteArray("a;touch${IFS}canary;'b'$(touch${IFS}canary)`touch${IFS}canary`|&\"x\".dg") << "" << "data" << QByteArray("a;touch${IFS}canary;'b'$(touch${IFS}canary)`touch${IFS}canary`|&\"x\".dg") << "data";
    QTest::newRow("not UTF-8, not there") << QByteArray("caf\xe9;touch${IFS}canary.dg") << "" << "" << QByteArray("caf\xe9;touch${IFS}canary.dg") << "data";
    QTest::newRow("not UTF-8, beside its lookalike") << QByteArray("<root>/trials/a\xff.dg") << "" << "trials" << QByteArray("a\xff.dg") << "trials";
    QTest::newRow("letters beyond ASCII") << QByteArray("<root>/trials/M\xc3\xbcller.dg") << "" << "trials" << QByteArray("M\xc3\xbcller.dg") << "trials";
    QTest::newRow("absolute path") << QByteArray("<root>/trials/walk 2.dg") << "" << "trials" << QByteArray("walk 2.dg") << "trials";
    QTest::newRow("name with blanks") << QByteArray("my walk.DG") << "trials" << "trials" << QByteArray("my walk.DG") << "trials";
    // clang-format on
}

void EndToEndLaunchTest::theTrialReachesTheProgramAsOneArgument()
{
    QFETCH(QByteArray, typed);
    QFETCH(QString, cwd);
    QFETCH(QString, fileIn);
    QFETCH(QByteArray, argument);
    QFETCH(QString, startedIn);
    Installation installation;
    typed.replace("<root>", QFile::encodeName(installation.root.path()));
    if (!fileIn.isEmpty()) {
        const QByteArray name = typed.mid(typed.lastIndexOf('/') + 1);
        writeFile(installation.path(fileIn) + '/' + decodeNativeName(name), "header\r\n");
        // The name that the odd byte would read as, if it were decoded.
        writeFile(installation.path(fileIn + QStringLiteral("/a\uFFFD.dg")), "other\r\n");
    }
    installation.start(typed, cwd);

    QTRY_VERIFY_WITH_TIMEOUT(!onlyRecord(installation.log).isEmpty(), 20000);
    const QJsonObject record = onlyRecord(installation.log);
    QCOMPARE(record.value("program").toString(), "Kadrix.exe");
    QCOMPARE(record.value("cwd").toString(), installation.path(startedIn));
    QCOMPARE(record.value("args").toArray().toVariantList().mid(0, 3),
             (QVariantList{"/q", "/1", "/r"}));
    QCOMPARE(record.value("argsHex").toArray().toVariantList().mid(3),
             QVariantList{QString::fromLatin1(argument.toHex())});
    QTest::qWait(200); // anything a shell had started would have run by now
    for (const QString& directory : {installation.path("data"), installation.root.path()})
        QVERIFY2(!QFile::exists(directory + "/canary"), qPrintable(directory));
    QCOMPARE(installation.kadrix.state(), QProcess::Running);
}

void EndToEndLaunchTest::missingAnimationProgramIsReportedAndExitSavesTheDataDirectory()
{
    if (!XvfbSession::toolsAvailable())
        QSKIP("Xvfb and xdotool are needed");
    XvfbSession x;
    QVERIFY(x.isRunning());
    Installation installation(false);
    // A trial outside the stored data directory: its own directory is saved.
    writeFile(installation.path("trials/walk1.dg"), "header\r\n");
    installation.start(QFile::encodeName(installation.path("trials/walk1.dg")), "", x.display());

    // First the start-up's own notice that Kadrix.exe is missing, then the
    // failed start of the animation program.
    for (int box = 0; box < 2; ++box) {
        const QString window = x.window("^Kadrix95$");
        QVERIFY2(!window.isEmpty(), "a message box appears");
        x.press(window, "Return");
        QTRY_VERIFY_WITH_TIMEOUT(x.window("^Kadrix95$", false) != window, 10000);
    }
    const QString window = x.window("^Kadrix for Windows$");
    QVERIFY2(!window.isEmpty(), "the main window is up");
    QVERIFY(readFile(installation.log).isEmpty());

    // "E&xit": Alt+X, the only enabled control with that key at start.
    x.press(window, "alt+x");
    QVERIFY2(installation.kadrix.waitForFinished(20000), "kadrix95 ends on E&xit");
    QCOMPARE(installation.kadrix.exitCode(), 0);
    QSettings settings(installation.path("config/Movarta/Movarta.conf"), QSettings::IniFormat);
    QCOMPARE(settings.value("Startup/Datadir").toString(), installation.path("trials"));
}

namespace {

// A file system mounted by the test whose size is never told, and whose
// subdirectory silent never opens (tools/hungfs), as a share is whose server
// has stopped answering. Killing its server
// fails what waits on it; the mount point is then unmounted.
class HungShare {
public:
    explicit HungShare(const QString& mountPoint)
        : mountPoint_(mountPoint)
    {
        makeDirectory(mountPoint);
        server_.start(qEnvironmentVariable("KADRIX_HUNGFS"), {mountPoint});
        (void)QTest::qWaitFor(
            [&] { return isMounted() || server_.state() == QProcess::NotRunning; }, 10000);
    }
    ~HungShare()
    {
        server_.kill(); // fails what waits on it: the asker ends too
        server_.waitForFinished();
        asker_.waitForFinished();
        QProcess::execute("umount", {"-l", mountPoint_});
    }

    bool isMounted() const
    {
        return readFile("/proc/self/mountinfo").contains(mountPoint_.toUtf8());
    }

    // Whether a question about its size stays unanswered: the asker waits
    // in the kernel, beyond any signal, until the server is gone.
    bool holdsAsker()
    {
        asker_.start("stat", {"-f", mountPoint_});
        return !asker_.waitForFinished(1500);
    }

private:
    QString mountPoint_;
    QProcess asker_;
    QProcess server_;
};

// From the silent directory up to data by the directory list, then a
// double-click on the first file of the data-file list, again until the
// companion starts: nothing outside tells when the list is shown. Both
// lists' places are fixed by the window's layout (in pixels: the directory
// list at 8, 40, 185 wide and 231 high, the file list at 200, 16; below the
// menu bar), and the start-up's About box may cover the file list's middle.
void leaveTheSilentDirectory(const XvfbSession& x, const QString& window, const QString& log)
{
    x.xdotool({"windowfocus", "--sync", window});
    x.xdotool({"mousemove", "--window", window, "100", "180", "click", "1"});
    x.xdotool({"key", "End", "Up", "Up", "Return"}); // silent, share, data
    for (int round = 0; round < 20 && readFile(log).isEmpty(); ++round) {
        x.xdotool({"mousemove", "--window", window, "220", "42", "click", "--repeat", "2", "1"});
        (void)QTest::qWaitFor([&] { return !readFile(log).isEmpty(); }, 1000);
    }
}

} // namespace

// kadrix95 walk1.dg with such a share mounted: the companion starts, the
// window comes up and ends on "E&xit", or on a signal; either way it leaves
// the screen, though the child asking the share is still waiting. Started
// in the silent directory, the lists follow the user to a local one, where
// a double-click starts the companion. Mounting takes root and /dev/fuse.
void EndToEndLaunchTest::aShareThatNeverAnswersHoldsNothing_data()
{
    QTest::addColumn<bool>("terminated"); // else ended on "E&xit"
    QTest::addColumn<bool>("inSilentDirectory");
    QTest::newRow("E&xit") << false << false;
    QTest::newRow("terminated") << true << false;
    QTest::newRow("a directory that never opens, then a local one, then E&xit") << false << true;
}

void EndToEndLaunchTest::aShareThatNeverAnswersHoldsNothing()
{
    QFETCH(bool, terminated);
    QFETCH(bool, inSilentDirectory);
    if (::geteuid() != 0 || !QFile::exists("/dev/fuse") ||
        !QFile::exists(qEnvironmentVariable("KADRIX_HUNGFS")))
        QSKIP("mounting the test's file system needs root, /dev/fuse and libfuse3");
    if (!XvfbSession::toolsAvailable())
        QSKIP("Xvfb and xdotool are needed");
    XvfbSession x;
    QVERIFY(x.isRunning());
    Installation installation;
    HungShare share(installation.path("data/share"));
    if (!share.isMounted())
        QSKIP("the test's file system could not be mounted here");
    QVERIFY2(share.holdsAsker(), "the share holds whoever asks for its size");
    for (int i = 0; i < (inSilentDirectory ? 400 : 1); ++i) // enough to fill the list
        writeFile(installation.path(QStringLiteral("data/walk%1.dg").arg(i + 1)), "header\r\n");
    if (inSilentDirectory)
        QSettings(installation.path("config/Movarta/Movarta.conf"), QSettings::IniFormat)
            .setValue("Startup/Datadir", installation.path("data/share/silent"));
    installation.start(inSilentDirectory ? "" : "walk1.dg", "data", x.display());

    const QString name = "^Kadrix for Windows$";
    const QString window = x.window(name);
    QVERIFY2(!window.isEmpty(), "the main window is up; " + installation.fate());
    if (inSilentDirectory)
        leaveTheSilentDirectory(x, window, installation.log);
    QTRY_VERIFY_WITH_TIMEOUT(!readFile(installation.log).isEmpty(), 20000);
    const QByteArray first = readFile(installation.log).split('\n').constFirst();
    QCOMPARE(QJsonDocument::fromJson(first).object().value("cwd").toString(),
             installation.path("data"));
    if (terminated)
        installation.kadrix.terminate();
    else
        x.press(window, "alt+x");
    QVERIFY2(installation.kadrix.waitForFinished(20000), "kadrix95 answers and ends");
    if (!terminated)
        QCOMPARE(installation.kadrix.exitCode(), 0);
    QTRY_VERIFY2_WITH_TIMEOUT(x.window(name, false).isEmpty(), "no window stays on the screen",
                              20000);
}

QTEST_MAIN(EndToEndLaunchTest)
#include "tst_e2e_launch.moc"
