// The header rewrite killed at random moments: whenever it dies, the
// trial's name holds either the complete previous file or the complete new
// one, and so does the backup when there is one.

#include "TestFiles.h"
#include "dgoptions/DgRewrite.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <thread>

using namespace kadrix;
using namespace kadrix::test;

namespace {

// The test runs this program again as the driver it kills: "--rewrite
// <directory> <X reversal>" rewrites trial.dg there, once it has told
// its parent by one byte that it begins.
int rewriteTrial(const QString& directory, int reverseX)
{
    std::fputc('r', stdout);
    std::fflush(stdout);
    const QString trial = directory + QStringLiteral("/trial.");
    const DgFilePaths paths{trial + "dg", trial + "D$$", trial + "DG!"};
    return rewriteDgFile(paths, {reverseX, 0}).result == RewriteOutcome::Result::Saved ? 0 : 1;
}

// A trial of several megabytes whose X-reversal code is `code`: 1 as the
// rewrite leaves it with the box unchecked, 2 with the box checked.
QByteArray trialWith(int code)
{
    const QByteArray row =
        "    1   109.9    25.0   121.5    32.2   120.7    37.4   108.2    45.0\r\n";
    return "Crash test trial\r\n        24        12\r\n    " + QByteArray::number(code) +
           "    0    3   12    0    0    0    0    0    0    0    0    7\r\n" +
           row.repeated(100000);
}

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
    const std::array<QByteArray, 2> versions{trialWith(1), trialWith(2)};
    writeFile(trial, versions[0]);
    const auto complete = [&](const QString& path) {
        const QByteArray bytes = readFile(path);
        return bytes == versions[0] || bytes == versions[1];
    };
    QProcess driver;
    const auto start = [&](int reverseX) {
        driver.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--rewrite"), data.path(), QString::number(reverseX)});
        return driver.waitForReadyRead(30000);
    };
    const auto succeeded = [&] {
        return driver.exitStatus() == QProcess::NormalExit && driver.exitCode() == 0;
    };

    // One whole rewrite shows how long one takes: the kills fall within it.
    QVERIFY(start(1));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(driver.waitForFinished(60000) && succeeded());
    const qint64 runMicroseconds = std::max<qint64>(1000, timer.nsecsElapsed() / 1000);
    QCOMPARE(readFile(trial), versions[1]);

    int kills = 0;
    int runs = 0;
    for (; kills < 200 && runs < 1000; ++runs) {
        QVERIFY(start(runs % 2));
        std::this_thread::sleep_for(std::chrono::microseconds(
            QRandomGenerator::global()->bounded(runMicroseconds * 11 / 10)));
        const bool sent = driver.state() == QProcess::Running &&
                          ::kill(static_cast<pid_t>(driver.processId()), SIGKILL) == 0;
        driver.waitForFinished(30000);
        if (sent && driver.exitStatus() == QProcess::CrashExit)
            ++kills;
        else
            QVERIFY2(succeeded(), qPrintable(QStringLiteral("run %1 failed").arg(runs)));
        QVERIFY2(complete(trial) && (!QFile::exists(backup) || complete(backup)),
                 qPrintable(QStringLiteral("run %1 damaged the trial or its backup").arg(runs)));
    }
    qInfo("%d rewrites, %d of them killed while running", runs, kills);
    QCOMPARE(kills, 200);

    QVERIFY(start(0)); // a left-over temporary file does not stop the next rewrite
    QVERIFY(driver.waitForFinished(60000) && succeeded());
    QCOMPARE(readFile(trial), versions[0]);
}

int main(int argc, char* argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--rewrite") == 0)
        return rewriteTrial(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    QCoreApplication app(argc, argv);
    DgCrashTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dgcrash.moc"
