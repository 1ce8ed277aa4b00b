// The main window's menus with the real starter: the stand-in companion
// programs record what "Run &Xfer2DG" and "&Refine/scale data (Scalvane)"
// started them with.

#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "app/CaptionButton.h"
#include "platform/ProcessStarter.h"

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

QJsonObject onlyRecord(const QString& log)
{
    const QList<QByteArray> lines = readFile(log).trimmed().split('\n');
    return lines.size() == 1 ? QJsonDocument::fromJson(lines.constFirst()).object() : QJsonObject();
}

QVariantList argumentsOf(const QJsonObject& record)
{
    return record.value(QStringLiteral("args")).toArray().toVariantList();
}

} // namespace

class EndToEndMenusTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void runXfer2DGConvertsTheSelectedFile();
    void scalvaneRefinesTheTrialAndLeavesItsOutput();

private:
    QString log_;
};

void EndToEndMenusTest::init()
{
    log_ =
        QDir::temp().filePath(QStringLiteral("standin-%1.log").arg(QTest::currentTestFunction()));
    QFile::remove(log_);
    qputenv("KADRIX_STANDIN_LOG", QFile::encodeName(log_));
}

void EndToEndMenusTest::cleanup()
{
    qunsetenv("KADRIX_STANDIN_LOG");
}

void EndToEndMenusTest::runXfer2DGConvertsTheSelectedFile()
{
    FakeMessages starterMessages;
    ProcessStarter starter(starterMessages);
    MainWindowHarness harness(&starter);
    QVERIFY(QFile::copy(qEnvironmentVariable("KADRIX_STANDIN"),
                        harness.progDir + QStringLiteral("/Xfer2DG.exe")));
    harness.addDataFile(QStringLiteral("Walk Trial.csv"));
    harness.start();
    harness.state().TrialName = QStringLiteral("Walk Trial");
    harness.state().TrialExt = QStringLiteral("CSV");

    harness.ui().cmdConvert->setEnabled(true);
    harness.ui().cmdConvert->click();
    QTRY_VERIFY(!onlyRecord(log_).isEmpty());
    const QJsonObject record = onlyRecord(log_);
    QCOMPARE(record.value(QStringLiteral("program")).toString(), QStringLiteral("Xfer2DG.exe"));
    QCOMPARE(record.value(QStringLiteral("cwd")).toString(), harness.dataDir);
    QCOMPARE(argumentsOf(record), QVariantList{QStringLiteral("Walk Trial.csv")});
    QVERIFY(starterMessages.boxes.empty());
}

void EndToEndMenusTest::scalvaneRefinesTheTrialAndLeavesItsOutput()
{
    FakeMessages starterMessages;
    ProcessStarter starter(starterMessages);
    MainWindowHarness harness(&starter);
    QVERIFY(QFile::copy(qEnvironmentVariable("KADRIX_STANDIN"),
                        harness.progDir + QStringLiteral("/Scalvane.exe")));
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.start();
    harness.state().TrialName = QStringLiteral("walk1");
    harness.messages.answers.push_back(MessageAnswer::No);

    harness.ui().mnuDatafile[1]->trigger();
    QTRY_VERIFY(!onlyRecord(log_).isEmpty());
    const QJsonObject record = onlyRecord(log_);
    QCOMPARE(record.value(QStringLiteral("program")).toString(), QStringLiteral("Scalvane.exe"));
    QCOMPARE(record.value(QStringLiteral("cwd")).toString(), harness.dataDir);
    QCOMPARE(argumentsOf(record), QVariantList{QStringLiteral("walk1.dg")});
    QTRY_VERIFY(QFile::exists(harness.dataFile(QStringLiteral("Scalvane.out"))));
    QCOMPARE(harness.messages.boxes.front().title, QStringLiteral("View output"));
}

QTEST_MAIN(EndToEndMenusTest)
#include "tst_e2e_menus.moc"
