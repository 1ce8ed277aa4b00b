// Real Wine starting the Windows stand-in for the real starter and kadrix95: the
// command line it receives and parses, its directory, the settings in Wine's
// registry, the status meanwhile, and an early failure of Wine reported.

#include "Clicks.h"
#include "MainWindowHarness.h"
#include "TestFiles.h"
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
};

void EndToEndWineTest::initTestCase()
{
    const QString standin = qEnvironmentVariable("KADRIX_WINSTANDIN");
    if (standin.isEmpty())
        QSKIP("The Windows stand-in was not built: the mingw-w64 cross compiler is missing");
    const QString wineMissing = HostPrograms().map(standin, {}, {}).failure;
    if (!wineMissing.isEmpty())
        QSKIP(qPrintable(wineMissing));
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

    // The first start creates the prefix, through the real kadrix95 and its settings.
    QTest::newRow("trial on the command line") << "Kadrix.exe" << "" << QStringList{"/q", "/1", "/r", "walk1.dg"} << "";
    QTest::newRow("trial with blanks and brackets") << "Kadrix.exe" << "&Animate only" << QStringList{"/q", "/1", "/r", "my trial (1).dg"} << "";
    QTest::newRow("Command line help") << "Kadrix.exe" << "Command line help" << QStringList{"/?"} << "";
    QTest::newRow("RunProgram") << "Scalvane.exe" << "&Refine/scale data (Scalvane)" << QStringList{"my trial (1).dg"} << "";
    QTest::newRow("Wine fails at once") << "Kadrix.exe" << "&Animate only" << QStringList{}
        << "Wine ended at once, with exit code 1.\n\nWine's log, ";
    // clang-format on
}

void EndToEndWineTest::companionsStartThroughWine()
{
    QFETCH(QString, companion);
    QFETCH(QString, caption);
    QFETCH(QStringList, arguments);
    QFETCH(QString, failure);
    FakeMessages starterMessages;
    ProcessStarter starter{starterMessages};
    MainWindowHarness harness{&starter};
    starter.readSettingsFrom(harness.settings);
    const QString program = harness.progDir + QLatin1Char('/') + companion;
    QFile::remove(program);
    if (failure.isEmpty())
        QVERIFY(QFile::copy(qEnvironmentVariable("KADRIX_WINSTANDIN"), program));
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
    QCOMPARE(record.value(QStringLiteral("Progdir")).toString(), onDriveZ(harness.progDir));
    QVERIFY(starterMessages.boxes.empty());
    QFile::remove(log());
    kadrix.kill();
    kadrix.waitForFinished();
}

QTEST_MAIN(EndToEndWineTest)
#include "tst_e2e_wine.moc"
