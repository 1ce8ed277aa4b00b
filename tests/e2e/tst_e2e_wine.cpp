// Real Wine starting the Windows stand-ins, 64-bit and 32-bit, for the real
// starter and kadrix95: the command line each receives and parses, its
// directory, the settings in Wine's registry exactly as they were, whatever
// they hold, the status meanwhile, an early failure of Wine reported, and a
// 32-bit companion refused where Wine's 32-bit part is missing.

#include "Clicks.h"
#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "core/Settings.h"
#include "platform/ProcessStarter.h"
#include "platform/QtSettingsStore.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

const int kWineTimeout = 180000; // the first start creates the prefix

// A program directory setting that a .reg file written as text would break
// into a value at the root of HKEY_CURRENT_USER and a key of its own.
const QString kOddProgdir =
    QStringLiteral("/odd\r\n\"Evil\"=\"1\"\r\n[HKEY_CURRENT_USER\\Injected]\r\n\"q\"=\"\\\"");

QString log()
{
    return QDir::home().filePath(QStringLiteral("standin.log"));
}

QString onDriveZ(QString path)
{
    return QStringLiteral("Z:") + path.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

} // namespace

class EndToEndWineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void companionsStartThroughWine_data();
    void companionsStartThroughWine();
    void thirtyTwoBitsWithoutWinesPartStartNothing();

private:
    QString wine32Missing_; // why 32-bit companions cannot run here, if so
};

void EndToEndWineTest::initTestCase()
{
    const QString standin = qEnvironmentVariable("KADRIX_WINSTANDIN");
    if (standin.isEmpty())
        QSKIP("The Windows stand-in was not built: the mingw-w64 cross compiler is missing");
    const QString wineMissing = HostPrograms().map(standin, {}, {}).failure;
    if (!wineMissing.isEmpty())
        QSKIP(qPrintable(wineMissing));
    const QString standin32 = qEnvironmentVariable("KADRIX_WINSTANDIN32");
    wine32Missing_ = standin32.isEmpty()
                         ? QStringLiteral("the i686 mingw-w64 cross compiler is missing")
                         : HostPrograms().map(standin32, {}, {}).failure;
    qputenv("WINEPREFIX", QFile::encodeName(QDir::home().filePath(QStringLiteral("wine"))));
    qputenv("WINEDLLOVERRIDES", "mscoree,mshtml=");
    qputenv("KADRIX_STANDIN_LOG", QFile::encodeName(log()));
}

void EndToEndWineTest::cleanupTestCase()
{
    const QString server = QStandardPaths::findExecutable(QStringLiteral("wineserver"));
    QProcess::execute(server.isEmpty() ? QStringLiteral("/usr/lib/wine/wineserver") : server,
                      {QStringLiteral("-k")});
}

void EndToEndWineTest::companionsStartThroughWine_data()
{
    // clang-format off
    QTest::addColumn<QString>("companion");
    QTest::addColumn<QString>("caption"); // empty: the trial on kadrix95's command line
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("failure"); // the program is then no Windows program
    QTest::addColumn<int>("bits");
    QTest::addColumn<QString>("progdirSetting"); // empty: the program directory

    // The first start creates the prefix, through the real kadrix95 and its settings.
    QTest::newRow("trial on the command line") << "Kadrix.exe" << "" << QStringList{"/q", "/1", "/r", "walk1.dg"} << "" << 64 << "";
    QTest::newRow("trial with blanks and brackets") << "Kadrix.exe" << "&Animate only" << QStringList{"/q", "/1", "/r", "my trial (1).dg"} << "" << 64 << "";
    QTest::newRow("Command line help") << "Kadrix.exe" << "Command line help" << QStringList{"/?"} << "" << 64 << "";
    QTest::newRow("RunProgram") << "Scalvane.exe" << "&Refine/scale data (Scalvane)" << QStringList{"my trial (1).dg"} << "" << 64 << "";
    QTest::newRow("settings holding line breaks, quotes and brackets") << "Scalvane.exe" << "&Refine/scale data (Scalvane)" << QStringList{"my trial (1).dg"} << "" << 64 << kOddProgdir;
    QTest::newRow("32-bit: trial with blanks and brackets") << "Kadrix.exe" << "&Animate only" << QStringList{"/q", "/1", "/r", "my trial (1).dg"} << "" << 32 << "";
    QTest::newRow("32-bit: RunProgram, odd settings") << "Scalvane.exe" << "&Refine/scale data (Scalvane)" << QStringList{"my trial (1).dg"} << "" << 32 << kOddProgdir;
    QTest::newRow("Wine fails at once") << "Kadrix.exe" << "&Animate only" << QStringList{}
        << "Wine ended at once, with exit code 1.\n\nWine's log, " << 64 << "";
    // clang-format on
}

void EndToEndWineTest::companionsStartThroughWine()
{
    QFETCH(QString, companion);
    QFETCH(QString, caption);
    QFETCH(QStringList, arguments);
    QFETCH(QString, failure);
    QFETCH(int, bits);
    QFETCH(QString, progdirSetting);
    if (bits == 32 && !wine32Missing_.isEmpty())
        QSKIP(qPrintable(wine32Missing_));
    QFile::remove(log()); // what an earlier row that failed left
    FakeMessages starterMessages;
    ProcessStarter starter{starterMessages};
    MainWindowHarness harness{&starter};
    starter.readSettingsFrom(harness.settings);
    const QString program = harness.progDir + QLatin1Char('/') + companion;
    QFile::remove(program);
    if (failure.isEmpty())
        QVERIFY(QFile::copy(
            qEnvironmentVariable(bits == 32 ? "KADRIX_WINSTANDIN32" : "KADRIX_WINSTANDIN"),
            program));
    else
        writeFile(program, "MZ but no program");
    QProcess kadrix;
    if (caption.isEmpty()) {
        harness.addDataFile(QStringLiteral("walk1.dg"));
        QtSettingsStore().saveSetting("Movarta", "Startup", "Datadir", harness.dataDir);
        QtSettingsStore().saveSetting("Movarta", "Startup", "Progdir", harness.progDir);
        kadrix.start(qEnvironmentVariable("KADRIX_EXE"), {QStringLiteral("walk1.dg")});
    } else {
        harness.addDataFile(QStringLiteral("my trial (1).dg"));
        harness.start();
        if (!progdirSetting.isEmpty()) // read by the starter, not by the window
            harness.setSetting(kProgDirKey, progdirSetting);
        clickFile(harness.ui().filDatafiles, QStringLiteral("my trial (1).dg"));
        harness.messages.answers = {MessageAnswer::No, MessageAnswer::No}; // "View output"
        const QString notice = harness.ui().statusPanels[0]->text();
        // The status tells of the start; a second press meanwhile starts nothing.
        for (int press = 0; press < 2; ++press) {
            QObject* control = harness.control(caption);
            QMetaObject::invokeMethod(control, control->inherits("QAction") ? "trigger" : "click");
            QVERIFY(harness.ui().statusPanels[0]->text().endsWith(
                companion.toUpper() + QStringLiteral(" through Wine\u2026")));
        }
        QTRY_COMPARE_WITH_TIMEOUT(harness.ui().statusPanels[0]->text(), notice, kWineTimeout);
    }
    if (!failure.isEmpty()) {
        QCOMPARE(starterMessages.texts().size(), 1);
        QVERIFY2(starterMessages.texts().constFirst().contains(failure),
                 qPrintable(starterMessages.texts().constFirst()));
        QVERIFY(!QFile::exists(log()));
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(readFile(log()).endsWith('\n'), kWineTimeout);
    const QList<QByteArray> records = readFile(log()).trimmed().split('\n');
    QCOMPARE(records.size(), 1);
    const QJsonObject record = QJsonDocument::fromJson(records.constFirst()).object();
    QCOMPARE(record.value(QStringLiteral("args")).toVariant().toStringList(), arguments);
    QCOMPARE(record.value(QStringLiteral("cwd")).toString(), onDriveZ(harness.dataDir));
    QCOMPARE(record.value(QStringLiteral("Datadir")).toString(), onDriveZ(harness.dataDir));
    QCOMPARE(record.value(QStringLiteral("Progdir")).toString(),
             onDriveZ(progdirSetting.isEmpty() ? harness.progDir : progdirSetting));
    QCOMPARE(record.value(QStringLiteral("rootValues")).toInt(), 0);
    QCOMPARE(record.value(QStringLiteral("injected")).toBool(), false);
    QVERIFY(starterMessages.boxes.empty());
    QFile::remove(log());
    kadrix.kill();
    kadrix.waitForFinished();
}

// The real 32-bit stand-in where Wine's 32-bit loader is not found: the
// starter says what to install, nothing starts, and RunProgram offers no
// output of a start that never was.
void EndToEndWineTest::thirtyTwoBitsWithoutWinesPartStartNothing()
{
    const QString standin32 = qEnvironmentVariable("KADRIX_WINSTANDIN32");
    if (standin32.isEmpty())
        QSKIP("the i686 mingw-w64 cross compiler is missing");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("KADRIX_WINE"));
    const HostPrograms withoutWine32(environment, {});
    if (!withoutWine32.map(standin32, {}, {}).failure.contains(QStringLiteral("32-bit part")))
        QSKIP("the Wine found here runs 32-bit programs by itself");
    FakeMessages starterMessages;
    ProcessStarter starter{starterMessages, withoutWine32};
    MainWindowHarness harness{&starter};
    starter.readSettingsFrom(harness.settings);
    QVERIFY(QFile::copy(standin32, harness.progDir + QStringLiteral("/Scalvane.exe")));
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.start();
    clickFile(harness.ui().filDatafiles, QStringLiteral("walk1.dg"));
    QMetaObject::invokeMethod(harness.control(QStringLiteral("&Refine/scale data (Scalvane)")),
                              "trigger");
    QCOMPARE(starterMessages.texts().size(), 1);
    QVERIFY2(starterMessages.texts().constFirst().contains(QStringLiteral("wine32:i386")),
             qPrintable(starterMessages.texts().constFirst()));
    QCOMPARE(harness.messages.texts(), QStringList()); // no "View output"
    QVERIFY(!QFile::exists(log()));
}

QTEST_MAIN(EndToEndWineTest)
#include "tst_e2e_wine.moc"
