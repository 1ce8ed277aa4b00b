// The header rewrite killed at random moments: whenever it dies, the
// trial's name holds either the complete previous file or the complete new
// one, and the backup, when there is one, is complete too.

#include "dgoptions/HeaderRewriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <csignal>
#include <thread>

using namespace kadrix;

namespace {

inline constexpr int kKills = 200;
inline constexpr int kMostRuns = 1000;

// A trial of several megabytes whose X-reversal field is `reverseX`'s code.
QByteArray trialWith(int reverseX)
{
    QByteArray input = "Crash test trial\r\n        24        12\r\n"
                       "    1    0    3   12    0    0    0    0    0    0    0    0    7\r\n";
    const QByteArray row =
        "    1   109.9    25.0   121.5    32.2   120.7    37.4   108.2    45.0\r\n";
    input += row.repeated(100000);
    HeaderRewriter rewriter({reverseX, 0});
    QByteArray output;
    rewriter.feed(input, output);
    rewriter.finish(output);
    return output;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

class Driver {
public:
    explicit Driver(const QString& dataDir)
        : dataDir_(dataDir)
    {}

    // Starts a rewrite and returns once it has begun.
    bool start(int reverseX)
    {
        process_.start(QStringLiteral(KADRIX_DG_DRIVER),
                       {dataDir_, QStringLiteral("trial"), QString::number(reverseX)});
        return process_.waitForReadyRead(30000);
    }
    // Whether the kill found the rewrite still running.
    bool killAfter(std::chrono::microseconds delay)
    {
        std::this_thread::sleep_for(delay);
        const bool running = process_.state() == QProcess::Running &&
                             ::kill(static_cast<pid_t>(process_.processId()), SIGKILL) == 0;
        process_.waitForFinished(30000);
        return running && process_.exitStatus() == QProcess::CrashExit;
    }
    bool finish()
    {
        return process_.waitForFinished(60000) && process_.exitStatus() == QProcess::NormalExit &&
               process_.exitCode() == 0;
    }

private:
    QString dataDir_;
    QProcess process_;
};

} // namespace

class DgCrashTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killedRewriteLeavesACompleteFile();
};

void DgCrashTest::killedRewriteLeavesACompleteFile()
{
    QTemporaryDir data;
    const QString trial = data.filePath(QStringLiteral("trial.dg"));
    const QString backup = data.filePath(QStringLiteral("trial.DG!"));
    const QString temporary = data.filePath(QStringLiteral("trial.D$$"));
    const std::array<QByteArray, 2> versions{trialWith(0), trialWith(1)};
    {
        QFile file(trial);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(versions[0]);
    }
    Driver driver(data.path());

    // One whole rewrite shows how long one takes: the kills fall within it.
    QElapsedTimer timer;
    QVERIFY(driver.start(1));
    timer.start();
    QVERIFY(driver.finish());
    const qint64 runMicroseconds = std::max<qint64>(1000, timer.nsecsElapsed() / 1000);
    QCOMPARE(readAll(trial), versions[1]);

    int kills = 0;
    int runs = 0;
    int killedWhileCopying = 0;
    for (; kills < kKills && runs < kMostRuns; ++runs) {
        QVERIFY(driver.start(runs % 2));
        const auto delay = std::chrono::microseconds(
            QRandomGenerator::global()->bounded(runMicroseconds * 11 / 10));
        if (driver.killAfter(delay)) {
            ++kills;
            killedWhileCopying += QFile::exists(temporary) ? 1 : 0;
        }
        const QByteArray left = readAll(trial);
        QVERIFY2(left == versions[0] || left == versions[1],
                 qPrintable(QStringLiteral("after run %1 the trial is damaged").arg(runs)));
        if (QFile::exists(backup)) {
            const QByteArray kept = readAll(backup);
            QVERIFY2(kept == versions[0] || kept == versions[1],
                     qPrintable(QStringLiteral("after run %1 the backup is damaged").arg(runs)));
        }
    }
    qInfo("%d rewrites, %d killed while running, %d of them before the rename", runs, kills,
          killedWhileCopying);
    QCOMPARE(kills, kKills);

    QVERIFY(driver.start(0)); // a left-over temporary file does not stop the next rewrite
    QVERIFY(driver.finish());
    QCOMPARE(readAll(trial), versions[0]);
}

QTEST_GUILESS_MAIN(DgCrashTest)
#include "tst_dgcrash.moc"
