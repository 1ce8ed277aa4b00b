// Two header rewrites of one trial at once, in two processes, one of them
// killed at a random moment: the trial's name always holds a complete file,
// so does the backup, and what each process reports is what happened.

#include "TestFiles.h"
#include "dgoptions/DgRewrite.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace kadrix;
using namespace kadrix::test;

namespace {

enum Report { kSaved = 0, kFailed = 1, kBusy = 2 };

// A trial of 140 kB whose reference-system code is `code`.
QByteArray trialWith(int code)
{
    const QByteArray row =
        "    1   109.9    25.0   121.5    32.2   120.7    37.4   108.2    45.0\r\n";
    return "Crash test trial\r\n        24        12\r\n    1    " + QByteArray::number(code) +
           "    3   12    0    0    0    0    0    0    0    0    7\r\n" + row.repeated(2000);
}

// A process of its own that rewrites trial.dg with the reference-system
// code `code`, says 'd' on its pipe when the rewrite has returned, and
// reports by its exit code.
struct Rewriter {
    pid_t pid = 0;
    int code = 0;
    int status = 0;
    std::array<int, 2> pipe{-1, -1};

    Rewriter() { ::pipe2(pipe.data(), O_NONBLOCK | O_CLOEXEC); }
    ~Rewriter() { ::close(pipe[0]), ::close(pipe[1]); }
    void start(const QString& directory, int newCode)
    {
        code = newCode;
        pid = ::fork();
        if (pid != 0)
            return;
        const QString trial = directory + QStringLiteral("/trial.");
        const RewriteOutcome outcome =
            rewriteDgFile({trial + "dg", trial + "D$$", trial + "DG!"}, {2, code});
        [[maybe_unused]] const ssize_t said = ::write(pipe[1], "d", 1);
        if (outcome.result == RewriteOutcome::Result::Saved)
            ::_exit(kSaved);
        ::_exit(outcome.error.number == 55 ? kBusy : kFailed);
    }
    // Whether it ran to its end; then `report` is its report.
    bool finish(int& report)
    {
        ::waitpid(pid, &status, 0);
        report = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return WIFEXITED(status);
    }
    bool saidDone() const
    {
        char byte = 0;
        return ::read(pipe[0], &byte, 1) == 1;
    }
};

} // namespace

class DgCrashTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void concurrentRewritesOneKilled();
};

void DgCrashTest::concurrentRewritesOneKilled()
{
    QTemporaryDir data;
    const QString trial = data.filePath(QStringLiteral("trial.dg"));
    const QString backup = data.filePath(QStringLiteral("trial.DG!"));
    std::array<QByteArray, 10> versions;
    for (int code = 0; code < 10; ++code)
        versions[code] = trialWith(code);
    const auto versionOf = [&](const QString& path) {
        return int(std::find(versions.begin(), versions.end(), readFile(path)) - versions.begin());
    };
    writeFile(trial, versions[0]);
    QRandomGenerator& random = *QRandomGenerator::global();
    QElapsedTimer clock;
    clock.start();
    double estimate = 20000; // microseconds a whole rewrite takes, learnt as it goes
    int rounds = 0, landed = 0, saves = 0, busy = 0;
    // Rounds go on until enough kills have landed inside a rewrite and the
    // time is up, however fast the machine.
    for (; rounds < 3000 && (landed < 50 || (rounds < 400 && clock.elapsed() < 25000)); ++rounds) {
        const int previous = versionOf(trial);
        const int codeA = 1 + (previous + int(random.bounded(8))) % 9; // never `previous`
        const int codeB = codeA % 9 + 1 == previous ? previous % 9 + 1 : codeA % 9 + 1;
        const auto delay = [&](double share) {
            return std::chrono::microseconds(qint64(random.bounded(estimate * share)));
        };
        const auto killAfter = delay(1.5), aAfter = delay(0.5);
        Rewriter a, b;
        b.start(data.path(), codeB);
        std::this_thread::sleep_for(aAfter);
        QElapsedTimer timer;
        timer.start();
        a.start(data.path(), codeA);
        std::this_thread::sleep_for(killAfter > aAfter ? killAfter - aAfter
                                                       : std::chrono::microseconds(0));
        ::kill(b.pid, SIGKILL);
        std::array<int, 2> reports{};
        const std::array<bool, 2> ended{a.finish(reports[0]), b.finish(reports[1])};
        if (reports[0] == kSaved)
            estimate = 0.8 * estimate + 0.2 * double(timer.nsecsElapsed() / 1000);
        landed += !ended[1] && !b.saidDone();

        const int now = versionOf(trial);
        const QByteArray round = QByteArray::number(rounds);
        QVERIFY2(ended[0], round);
        QVERIFY2(now == previous || now == a.code || now == b.code, round);
        QVERIFY2(!QFile::exists(backup) || versionOf(backup) < 10, round);
        for (const int one : {0, 1}) {
            const int code = one == 0 ? a.code : b.code, other = one == 0 ? b.code : a.code;
            QVERIFY2(!ended[one] || reports[one] != kFailed, round);
            QVERIFY2(reports[one] != kSaved || now == code ||
                         (now == other && versionOf(backup) == code),
                     round);
            QVERIFY2(reports[one] != kBusy || now != code, round);
            saves += reports[one] == kSaved;
            busy += reports[one] == kBusy;
        }
    }
    qInfo("%d rounds in %lld ms: %d kills inside a rewrite, %d saves and %d 'being saved' reported",
          rounds, clock.elapsed(), landed, saves, busy);
    QVERIFY(landed >= 50);
}

QTEST_GUILESS_MAIN(DgCrashTest)
#include "tst_dgcrash.moc"
