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
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace kadrix;
using namespace kadrix::test;

namespace {

enum Report { kSaved = 0, kFailed = 1, kBusy = 2, kKilled = 3 };

// A process of its own that rewrites trial.dg with the reference-system
// code `code`, sets `stage` to 1 as it begins and 2 when the rewrite has
// returned, and reports by its exit code.
pid_t startRewrite(const QString& directory, int code, volatile int* stage)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    const QString trial = directory + QStringLiteral("/trial.");
    *stage = 1;
    const RewriteOutcome outcome =
        rewriteDgFile({trial + "dg", trial + "D$$", trial + "DG!"}, {2, code});
    *stage = 2;
    if (outcome.result == RewriteOutcome::Result::Saved)
        ::_exit(kSaved);
    ::_exit(outcome.error.number == 55 ? kBusy : kFailed);
}

// The report of a rewrite that ran to its end; kKilled for one killed.
int reportOf(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : kKilled;
}

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
    const QByteArray row =
        "    1   109.9    25.0   121.5    32.2   120.7    37.4   108.2    45.0\r\n";
    std::array<QByteArray, 10> versions; // 140 kB each, told apart by the reference system
    for (int code = 0; code < 10; ++code)
        versions[code] =
            "Crash test trial\r\n        24        12\r\n    1    " + QByteArray::number(code) +
            "    3   12    0    0    0    0    0    0    0    0    7\r\n" + row.repeated(2000);
    // How far each rewrite has got, shared with the processes.
    auto* const stages = static_cast<volatile int*>(::mmap(
        nullptr, 2 * sizeof(int), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    const auto versionOf = [&](const QString& path) {
        return int(std::find(versions.begin(), versions.end(), readFile(path)) - versions.begin());
    };
    writeFile(trial, versions[0]);
    QRandomGenerator& random = *QRandomGenerator::global();
    QElapsedTimer clock;
    clock.start();
    double estimate = 20000; // microseconds a whole rewrite takes, learnt as it goes
    int rounds = 0, landed = 0, saves = 0, busy = 0;
    // Until enough kills have landed inside a rewrite and the time is up.
    for (; rounds < 3000 && (landed < 30 || (rounds < 1000 && clock.elapsed() < 15000)); ++rounds) {
        const int previous = versionOf(trial);
        const int codeA = 1 + (previous + int(random.bounded(8))) % 9; // never `previous`
        const int codeB = codeA % 9 + 1 == previous ? previous % 9 + 1 : codeA % 9 + 1;
        const std::chrono::microseconds killAfter(qint64(random.bounded(estimate * 1.5))),
            aAfter(qint64(random.bounded(estimate / 2)));
        // B starts; A starts and B is killed at random moments after it.
        stages[1] = 0;
        const pid_t b = startRewrite(data.path(), codeB, &stages[1]);
        QElapsedTimer sinceB, timer;
        sinceB.start();
        pid_t a = 0;
        for (const auto& moment : {std::min(killAfter, aAfter), std::max(killAfter, aAfter)}) {
            std::this_thread::sleep_for(moment - std::chrono::nanoseconds(sinceB.nsecsElapsed()));
            if (moment == aAfter && a == 0)
                a = startRewrite(data.path(), codeA, &stages[0]), timer.start();
            else
                ::kill(b, SIGKILL);
        }
        const std::array<int, 2> reports{reportOf(a), reportOf(b)}, codes{codeA, codeB};
        if (reports[0] == kSaved)
            estimate = 0.8 * estimate + 0.2 * double(timer.nsecsElapsed() / 1000);
        landed += reports[1] == kKilled && stages[1] == 1;

        // Every file complete; a process that reports a save saved, one
        // that reports the trial being saved changed nothing.
        const int now = versionOf(trial);
        const QByteArray round = QByteArray::number(rounds);
        QVERIFY2(now == previous || now == codeA || now == codeB, round);
        QVERIFY2(!QFile::exists(backup) || versionOf(backup) < 10, round);
        QVERIFY2(reports[0] != kKilled && reports[0] != kFailed && reports[1] != kFailed, round);
        for (const int one : {0, 1}) {
            const int code = codes[one], other = codes[1 - one];
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
    QVERIFY(landed >= 30);
}

QTEST_GUILESS_MAIN(DgCrashTest)
#include "tst_dgcrash.moc"
