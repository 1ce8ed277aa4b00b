// The real starter and the real kadrix95 starting the stand-in companion
// programs: what the started program receives and where, what happens when
// it cannot be started, and the settings file kadrix95 leaves after "E&xit".

#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "XvfbSession.h"
#include "app/CaptionButton.h"
#include "platform/ProcessStarter.h"

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

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

// A program directory, a data directory and a configuration of their own,
// and kadrix95 started on them.
class Installation {
public:
    explicit Installation(bool withAnimationProgram = true)
    {
        prog = root.filePath(QStringLiteral("prog"));
        data = root.filePath(QStringLiteral("data"));
        log = root.filePath(QStringLiteral("standin.log"));
        for (const QString& directory :
             {prog, data, root.filePath(QStringLiteral("config/Movarta")),
              root.filePath(QStringLiteral("home"))})
            makeDirectory(directory);
        QSettings settings(root.filePath(QStringLiteral("config/Movarta/Movarta.conf")),
                           QSettings::IniFormat);
        settings.setValue(QStringLiteral("Startup/Datadir"), data);
        settings.setValue(QStringLiteral("Startup/Progdir"), prog);
        if (withAnimationProgram)
            QFile::copy(qEnvironmentVariable("KADRIX_STANDIN"),
                        prog + QStringLiteral("/Kadrix.exe"));
    }

    ~Installation()
    {
        if (kadrix.state() != QProcess::NotRunning) {
            kadrix.kill();
            kadrix.waitForFinished();
        }
    }

    // Starts kadrix95 with one argument of any bytes: the shell reads it
    // from a file and only passes it on, quoted.
    void start(const QByteArray& argument, const QString& display = {})
    {
        writeFile(root.filePath(QStringLiteral("argument")), argument);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           root.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("KADRIX_STANDIN_LOG"), log);
        if (!display.isEmpty()) {
            environment.insert(QStringLiteral("DISPLAY"), display);
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        }
        kadrix.setProcessEnvironment(environment);
        kadrix.setWorkingDirectory(root.path());
        kadrix.start(QStringLiteral("/bin/sh"),
                     {QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$(cat argument)\""),
                      qEnvironmentVariable("KADRIX_EXE")});
        QVERIFY(kadrix.waitForStarted());
    }

    QTemporaryDir root;
    QString prog;
    QString data;
    QString log;
    QProcess kadrix;
};

} // namespace

class EndToEndLaunchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theTrialReachesTheProgramAsOneArgument_data();
    void theTrialReachesTheProgramAsOneArgument();
    void missingAnimationProgramIsReportedAndTheFrontEndGoesOn();
    void exitSavesTheDataDirectory();
    void menusStartCompanionsInTheDataDirectory_data();
    void menusStartCompanionsInTheDataDirectory();
};

void EndToEndLaunchTest::theTrialReachesTheProgramAsOneArgument_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("onDisk");
    QTest::addColumn<QString>("argument");

    QTest::newRow("walk1.dg") << QByteArray("walk1.dg") << true << "walk1.dg";
    QTest::newRow("shell characters") << QByteArray("a;touch${IFS}canary;'b'$(touch${IFS}canary)`touch${IFS}canary`|&\"x\".dg") << true << "a;touch${IFS}canary;'b'$(touch${IFS}canary)`touch${IFS}canary`|&\"x\".dg";
    QTest::newRow("not UTF-8") << QByteArray("caf\xe9;touch${IFS}canary.dg") << false << "caf\uFFFD;touch${IFS}canary.dg";
    // clang-format on
}

void EndToEndLaunchTest::theTrialReachesTheProgramAsOneArgument()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, onDisk);
    QFETCH(QString, argument);
    Installation installation;
    if (onDisk)
        writeFile(installation.data + QLatin1Char('/') + QString::fromUtf8(name), "header\r\n");
    installation.start(name);

    QTRY_VERIFY_WITH_TIMEOUT(!onlyRecord(installation.log).isEmpty(), 20000);
    const QJsonObject record = onlyRecord(installation.log);
    QCOMPARE(record.value(QStringLiteral("program")).toString(), QStringLiteral("Kadrix.exe"));
    QCOMPARE(record.value(QStringLiteral("cwd")).toString(), installation.data);
    QCOMPARE(record.value(QStringLiteral("args")).toArray().toVariantList(),
             (QVariantList{"/q", "/1", "/r", argument}));
    QTest::qWait(200); // anything a shell had started would have run by now
    for (const QString& directory : {installation.data, installation.root.path()})
        QVERIFY2(!QFile::exists(directory + QStringLiteral("/canary")), qPrintable(directory));
    QCOMPARE(installation.kadrix.state(), QProcess::Running);
}

void EndToEndLaunchTest::missingAnimationProgramIsReportedAndTheFrontEndGoesOn()
{
    if (!XvfbSession::toolsAvailable())
        QSKIP("Xvfb and xdotool are needed");
    XvfbSession x;
    QVERIFY(x.isRunning());
    Installation installation(false);
    writeFile(installation.data + QStringLiteral("/walk1.dg"), "header\r\n");
    installation.start("walk1.dg", x.display());

    // First the start-up's own notice that Kadrix.exe is missing, then the
    // failed start of the animation program.
    for (int box = 0; box < 2; ++box) {
        const QString window = x.window(QStringLiteral("^Kadrix95$"));
        QVERIFY2(!window.isEmpty(), "a message box appears");
        x.press(window, QStringLiteral("Return"));
        QTRY_VERIFY_WITH_TIMEOUT(x.window(QStringLiteral("^Kadrix95$"), false) != window, 10000);
    }
    QVERIFY2(!x.window(QStringLiteral("^Kadrix for Windows$")).isEmpty(), "the main window is up");
    QCOMPARE(installation.kadrix.state(), QProcess::Running);
    QVERIFY(readFile(installation.log).isEmpty());
}

void EndToEndLaunchTest::exitSavesTheDataDirectory()
{
    if (!XvfbSession::toolsAvailable())
        QSKIP("Xvfb and xdotool are needed");
    XvfbSession x;
    QVERIFY(x.isRunning());
    Installation installation;
    // A switch makes the current directory, the installation's root, the
    // data directory.
    installation.start("-x", x.display());

    const QString window = x.window(QStringLiteral("^Kadrix for Windows$"));
    QVERIFY2(!window.isEmpty(), "the main window appears");
    // "E&xit": Alt+X, the only enabled control with that key at start.
    x.press(window, QStringLiteral("alt+x"));
    QVERIFY2(installation.kadrix.waitForFinished(20000), "kadrix95 ends on E&xit");
    QCOMPARE(installation.kadrix.exitStatus(), QProcess::NormalExit);
    QCOMPARE(installation.kadrix.exitCode(), 0);
    QSettings settings(installation.root.filePath(QStringLiteral("config/Movarta/Movarta.conf")),
                       QSettings::IniFormat);
    QCOMPARE(settings.value(QStringLiteral("Startup/Datadir")).toString(),
             installation.root.path());
    QCOMPARE(settings.value(QStringLiteral("Startup/Progdir")).toString(), installation.prog);
}

void EndToEndLaunchTest::menusStartCompanionsInTheDataDirectory_data()
{
    // clang-format off
    QTest::addColumn<QString>("companion");
    QTest::addColumn<QString>("file");
    QTest::newRow("Run &Xfer2DG") << "Xfer2DG.exe" << "Walk Trial.csv";
    QTest::newRow("&Refine/scale data (Scalvane)") << "Scalvane.exe" << "walk1.dg";
    // clang-format on
}

void EndToEndLaunchTest::menusStartCompanionsInTheDataDirectory()
{
    QFETCH(QString, companion);
    QFETCH(QString, file);
    FakeMessages starterMessages;
    ProcessStarter starter{starterMessages};
    MainWindowHarness harness{&starter};
    const QString log = harness.path(QStringLiteral("standin.log"));
    qputenv("KADRIX_STANDIN_LOG", QFile::encodeName(log));
    QVERIFY(QFile::copy(qEnvironmentVariable("KADRIX_STANDIN"),
                        harness.progDir + QLatin1Char('/') + companion));
    harness.addDataFile(file);
    harness.start();
    harness.selectTrial(file.section(QLatin1Char('.'), 0, 0), file.section(QLatin1Char('.'), 1));
    harness.messages.answers.push_back(MessageAnswer::No);

    if (companion.startsWith(QLatin1String("Xfer2DG"))) {
        harness.ui().cmdConvert->setEnabled(true);
        harness.ui().cmdConvert->click();
    } else {
        harness.ui().mnuDatafile[1]->trigger();
    }
    QTRY_VERIFY(!onlyRecord(log).isEmpty());
    QCOMPARE(onlyRecord(log).value(QStringLiteral("program")).toString(), companion);
    QCOMPARE(onlyRecord(log).value(QStringLiteral("cwd")).toString(), harness.dataDir);
    QCOMPARE(onlyRecord(log).value(QStringLiteral("args")).toArray().toVariantList(),
             QVariantList{file});
    QVERIFY(starterMessages.boxes.empty());
    qunsetenv("KADRIX_STANDIN_LOG");
}

QTEST_MAIN(EndToEndLaunchTest)
#include "tst_e2e_launch.moc"
