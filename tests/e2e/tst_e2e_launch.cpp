// The real kadrix95 starting the stand-in companion program: what the
// started program receives, and what happens when it cannot be started.

#include "TestFiles.h"
#include "XvfbSession.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace kadrix::test;

namespace {

// Every byte as an octal escape, for the shell's printf.
QString octalEscaped(const QByteArray& bytes)
{
    QString escaped;
    for (const char byte : bytes)
        escaped +=
            QStringLiteral("\\%1").arg(static_cast<unsigned char>(byte), 3, 8, QLatin1Char('0'));
    return escaped;
}

// A program directory, a data directory and a configuration of their own,
// and kadrix95 started on them.
class Installation {
public:
    Installation()
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
    }

    ~Installation()
    {
        if (kadrix.state() != QProcess::NotRunning) {
            kadrix.kill();
            kadrix.waitForFinished();
        }
    }

    void installCompanion(const QString& name)
    {
        QVERIFY(
            QFile::copy(qEnvironmentVariable("KADRIX_STANDIN"), prog + QLatin1Char('/') + name));
    }

    // Starts kadrix95 through the shell's exec, so that an argument can hold
    // any bytes; the shell only passes "$1" on, quoted.
    void start(const QByteArray& argument, const QString& display = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           root.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("KADRIX_STANDIN_LOG"), log);
        if (!display.isEmpty()) {
            environment.insert(QStringLiteral("DISPLAY"), display);
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        }
        environment.insert(QStringLiteral("KADRIX_ARGUMENT"), octalEscaped(argument));
        kadrix.setProcessEnvironment(environment);
        kadrix.setWorkingDirectory(root.path());
        kadrix.start(QStringLiteral("/bin/sh"),
                     {QStringLiteral("-c"),
                      QStringLiteral("exec \"$0\" \"$(printf \"$KADRIX_ARGUMENT\")\""),
                      qEnvironmentVariable("KADRIX_EXE")});
        QVERIFY(kadrix.waitForStarted());
    }

    QList<QJsonObject> records() const
    {
        QList<QJsonObject> result;
        const QList<QByteArray> lines = readFile(log).split('\n');
        for (const QByteArray& line : lines) {
            if (!line.isEmpty())
                result.append(QJsonDocument::fromJson(line).object());
        }
        return result;
    }

    QTemporaryDir root;
    QString prog;
    QString data;
    QString log;
    QProcess kadrix;
};

QStringList argumentsOf(const QJsonObject& record)
{
    QStringList arguments;
    const QJsonArray array = record.value(QStringLiteral("args")).toArray();
    for (const QJsonValue& value : array)
        arguments.append(value.toString());
    return arguments;
}

} // namespace

class EndToEndLaunchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void trialOnTheCommandLineIsAnimated();
    void shellCharactersReachTheProgramAsOneArgument_data();
    void shellCharactersReachTheProgramAsOneArgument();
    void missingAnimationProgramIsReportedAndTheFrontEndGoesOn();
};

void EndToEndLaunchTest::trialOnTheCommandLineIsAnimated()
{
    Installation installation;
    installation.installCompanion(QStringLiteral("Kadrix.exe"));
    writeFile(installation.data + QStringLiteral("/walk1.dg"), "header\r\n");
    installation.start("walk1.dg");

    QTRY_COMPARE_WITH_TIMEOUT(installation.records().size(), 1, 20000);
    const QJsonObject record = installation.records().constFirst();
    QCOMPARE(record.value(QStringLiteral("program")).toString(), QStringLiteral("Kadrix.exe"));
    QCOMPARE(record.value(QStringLiteral("cwd")).toString(), installation.data);
    QCOMPARE(argumentsOf(record), (QStringList{"/q", "/1", "/r", "walk1.dg"}));
    QCOMPARE(installation.kadrix.state(), QProcess::Running);
}

void EndToEndLaunchTest::shellCharactersReachTheProgramAsOneArgument_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("onDisk");

    QTest::newRow("shell characters")
        << QByteArray("a;touch${IFS}canary;'b'$(touch${IFS}canary)`touch${IFS}canary`|&\"x\".dg")
        << true;
    QTest::newRow("not UTF-8") << QByteArray("caf\xe9;touch${IFS}canary.dg") << false;
}

void EndToEndLaunchTest::shellCharactersReachTheProgramAsOneArgument()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, onDisk);
    Installation installation;
    installation.installCompanion(QStringLiteral("Kadrix.exe"));
    if (onDisk)
        writeFile(installation.data + QLatin1Char('/') + QString::fromUtf8(name), "header\r\n");
    installation.start(name);

    QTRY_COMPARE_WITH_TIMEOUT(installation.records().size(), 1, 20000);
    const QStringList arguments = argumentsOf(installation.records().constFirst());
    QCOMPARE(arguments.size(), 4);
    if (onDisk)
        QCOMPARE(arguments.last(), QString::fromUtf8(name));
    else
        QVERIFY(arguments.last().endsWith(QStringLiteral(";touch${IFS}canary.DG")));
    QTest::qWait(200); // anything a shell had started would have run by now
    for (const QString& directory : {installation.data, installation.root.path()})
        QVERIFY2(!QFile::exists(directory + QStringLiteral("/canary")), qPrintable(directory));
}

void EndToEndLaunchTest::missingAnimationProgramIsReportedAndTheFrontEndGoesOn()
{
    if (!XvfbSession::toolsAvailable())
        QSKIP("Xvfb and xdotool are needed");
    XvfbSession x;
    QVERIFY(x.isRunning());
    Installation installation;
    writeFile(installation.data + QStringLiteral("/walk1.dg"), "header\r\n");
    installation.start("walk1.dg", x.display());

    // First the start-up's own notice that Kadrix.exe is missing, then the
    // failed start of the animation program.
    for (int box = 0; box < 2; ++box) {
        const QString window = x.xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                                          QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                          QStringLiteral("^Kadrix95$")})
                                   .section(QLatin1Char('\n'), 0, 0);
        QVERIFY2(!window.isEmpty(), "a message box appears");
        x.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        x.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        QTRY_VERIFY_WITH_TIMEOUT(
            x.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                       QStringLiteral("--name"), QStringLiteral("^Kadrix95$")})
                    .section(QLatin1Char('\n'), 0, 0) != window,
            10000);
    }
    const QString main = x.xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                                    QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                    QStringLiteral("^Kadrix for Windows$")});
    QVERIFY2(!main.isEmpty(), "the main window is up");
    QCOMPARE(installation.kadrix.state(), QProcess::Running);
    QVERIFY(installation.records().isEmpty());
}

QTEST_GUILESS_MAIN(EndToEndLaunchTest)
#include "tst_e2e_launch.moc"
