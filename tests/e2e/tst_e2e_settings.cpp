// The real kadrix95 on a private X display: what it keeps in the settings
// file of its own configuration directory.

#include "TestFiles.h"
#include "XvfbSession.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace kadrix::test;

class EndToEndSettingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void exitButtonSavesTheDataDirectory();
};

void EndToEndSettingsTest::exitButtonSavesTheDataDirectory()
{
    if (!XvfbSession::toolsAvailable())
        QSKIP("Xvfb and xdotool are needed");
    XvfbSession x;
    QVERIFY2(x.isRunning(), "a private X server starts");

    QTemporaryDir root;
    const QString home = root.filePath(QStringLiteral("home"));
    const QString configuration = root.filePath(QStringLiteral("config"));
    const QString prog = root.filePath(QStringLiteral("prog"));
    const QString stored = root.filePath(QStringLiteral("stored data"));
    const QString current = root.filePath(QStringLiteral("current data"));
    for (const QString& directory : {home, configuration, prog, stored, current})
        makeDirectory(directory);
    QVERIFY(
        QFile::copy(qEnvironmentVariable("KADRIX_STANDIN"), prog + QStringLiteral("/Kadrix.exe")));
    const QString settingsFile = configuration + QStringLiteral("/Movarta/Movarta.conf");
    {
        QSettings settings(settingsFile, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Startup/Datadir"), stored);
        settings.setValue(QStringLiteral("Startup/Progdir"), prog);
    }

    QProcess kadrix;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), x.display());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configuration);
    kadrix.setProcessEnvironment(environment);
    kadrix.setWorkingDirectory(current);
    // A switch makes the current directory the data directory.
    kadrix.start(qEnvironmentVariable("KADRIX_EXE"), {QStringLiteral("-x")});
    QVERIFY(kadrix.waitForStarted());

    const QString window = x.xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                                      QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                      QStringLiteral("^Kadrix for Windows$")})
                               .section(QLatin1Char('\n'), 0, 0);
    QVERIFY2(!window.isEmpty(), "the main window appears");
    x.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    // "E&xit": Alt+X, the only enabled control with that key at start.
    x.xdotool({QStringLiteral("key"), QStringLiteral("alt+x")});
    if (!kadrix.waitForFinished(20000)) {
        kadrix.kill();
        kadrix.waitForFinished();
        QFAIL("kadrix95 did not end on E&xit");
    }
    QCOMPARE(kadrix.exitStatus(), QProcess::NormalExit);
    QCOMPARE(kadrix.exitCode(), 0);

    QSettings settings(settingsFile, QSettings::IniFormat);
    QCOMPARE(settings.value(QStringLiteral("Startup/Datadir")).toString(), current);
    QCOMPARE(settings.value(QStringLiteral("Startup/Progdir")).toString(), prog);
}

QTEST_GUILESS_MAIN(EndToEndSettingsTest)
#include "tst_e2e_settings.moc"
