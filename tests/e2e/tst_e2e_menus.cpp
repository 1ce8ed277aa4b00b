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

// The main window with the real starter, the stand-in installed under one
// companion's name, and the stand-in's record of its starts.
class StandinSession {
public:
    explicit StandinSession(const QString& companion)
        : log_(QDir::temp().filePath(QStringLiteral("standin-") + companion +
                                     QStringLiteral(".log")))
    {
        QFile::remove(log_);
        qputenv("KADRIX_STANDIN_LOG", QFile::encodeName(log_));
        QFile::copy(qEnvironmentVariable("KADRIX_STANDIN"),
                    harness.progDir + QLatin1Char('/') + companion);
    }
    ~StandinSession() { qunsetenv("KADRIX_STANDIN_LOG"); }

    // The one start recorded, once it is there; empty while there is none.
    QJsonObject record() const
    {
        const QList<QByteArray> lines = readFile(log_).trimmed().split('\n');
        return lines.size() == 1 ? QJsonDocument::fromJson(lines.constFirst()).object()
                                 : QJsonObject();
    }

    FakeMessages starterMessages;
    ProcessStarter starter{starterMessages};
    MainWindowHarness harness{&starter};

private:
    QString log_;
};

void compareStart(const QJsonObject& record, const QString& program, const QString& directory,
                  const QString& argument)
{
    QCOMPARE(record.value(QStringLiteral("program")).toString(), program);
    QCOMPARE(record.value(QStringLiteral("cwd")).toString(), directory);
    QCOMPARE(record.value(QStringLiteral("args")).toArray().toVariantList(),
             QVariantList{argument});
}

} // namespace

class EndToEndMenusTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runXfer2DGConvertsTheSelectedFile();
    void scalvaneRefinesTheTrialAndLeavesItsOutput();
};

void EndToEndMenusTest::runXfer2DGConvertsTheSelectedFile()
{
    StandinSession session(QStringLiteral("Xfer2DG.exe"));
    MainWindowHarness& harness = session.harness;
    harness.addDataFile(QStringLiteral("Walk Trial.csv"));
    harness.start();
    harness.selectTrial(QStringLiteral("Walk Trial"), QStringLiteral("CSV"));

    harness.ui().cmdConvert->setEnabled(true);
    harness.ui().cmdConvert->click();
    QTRY_VERIFY(!session.record().isEmpty());
    compareStart(session.record(), QStringLiteral("Xfer2DG.exe"), harness.dataDir,
                 QStringLiteral("Walk Trial.csv"));
    QVERIFY(session.starterMessages.boxes.empty());
}

void EndToEndMenusTest::scalvaneRefinesTheTrialAndLeavesItsOutput()
{
    StandinSession session(QStringLiteral("Scalvane.exe"));
    MainWindowHarness& harness = session.harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.start();
    harness.selectTrial(QStringLiteral("walk1"), QStringLiteral("DG"));
    harness.messages.answers.push_back(MessageAnswer::No);

    harness.ui().mnuDatafile[1]->trigger();
    QTRY_VERIFY(!session.record().isEmpty());
    compareStart(session.record(), QStringLiteral("Scalvane.exe"), harness.dataDir,
                 QStringLiteral("walk1.dg"));
    QTRY_VERIFY(QFile::exists(harness.dataFile(QStringLiteral("Scalvane.out"))));
    QCOMPARE(harness.messages.boxes.front().title, QStringLiteral("View output"));
}

QTEST_MAIN(EndToEndMenusTest)
#include "tst_e2e_menus.moc"
