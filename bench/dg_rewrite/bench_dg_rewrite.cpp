// Rewrites the header of a large .DG trial and compares the time with
// copying the same file with cp and flushing the copy with sync, in the
// same run; prints both, their ratio, and the rewrite's peak memory above
// the idle process.
//
//   bench_dg_rewrite [megabytes=200] [directory=$TMPDIR]

#include "Median.h"
#include "ProcessMemory.h"
#include "dgoptions/DgFileNames.h"
#include "dgoptions/DgRewrite.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kadrix;

namespace {

// The first rounds also fault in the memory the page cache grows into,
// which a virtual machine backs lazily; they are shown but not counted.
inline constexpr int kWarmUpRounds = 3;
inline constexpr int kRounds = 5;

// Writes a trial of about `megabytes` in small pieces, so that the idle
// process stays small.
void writeTrial(const QString& path, qint64 megabytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write("Benchmark trial\r\n        24        12\r\n"
               "    1    0    3   12    0    0    0    0    0    0    0    0    7\r\n");
    const QByteArray row =
        "    1   109.9    25.0   121.5    32.2   120.7    37.4   108.2    45.0\r\n";
    const QByteArray block = row.repeated(1 << 13);
    for (qint64 written = 0; written < megabytes << 20; written += block.size())
        file.write(block);
}

double seconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

double copyWithCpAndSync(const QString& from, const QString& to)
{
    QFile::remove(to);
    QElapsedTimer timer;
    timer.start();
    if (QProcess::execute(QStringLiteral("cp"), {from, to}) != 0 ||
        QProcess::execute(QStringLiteral("sync"), {to}) != 0)
        qFatal("cp or sync failed");
    const double elapsed = seconds(timer);
    QFile::remove(to);
    return elapsed;
}

struct RewriteRun {
    double seconds = 0;
    double peakMegabytesAboveIdle = 0;
};

RewriteRun rewrite(const DgFilePaths& paths, int round)
{
    const qint64 idle = statusKiB("VmRSS:");
    resetPeakMemory();
    QElapsedTimer timer;
    timer.start();
    if (rewriteDgFile(paths, {round % 2, 4}).result != RewriteOutcome::Result::Saved)
        qFatal("the rewrite failed");
    RewriteRun run{seconds(timer), 0};
    run.peakMegabytesAboveIdle = double(statusKiB("VmHWM:") - idle) / 1024;
    return run;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const qint64 megabytes = arguments.value(1, QStringLiteral("200")).toLongLong();
    QTemporaryDir directory(
        arguments.size() > 2 ? arguments[2] + QStringLiteral("/dg_rewrite-XXXXXX") : QString());
    if (!directory.isValid())
        qFatal("no temporary directory");
    const QString trial = directory.filePath(QStringLiteral("bench.dg"));
    writeTrial(trial, megabytes);
    QProcess::execute(QStringLiteral("sync"), {trial});
    const DgFilePaths paths = dgFileNames(directory.path(), QStringLiteral("bench"), {}).paths;
    const qint64 size = QFile(trial).size();

    std::vector<double> copies;
    std::vector<double> rewrites;
    double peak = 0;
    for (int round = 0; round < kWarmUpRounds + kRounds; ++round) {
        const double copy = copyWithCpAndSync(trial, directory.filePath(QStringLiteral("copy.dg")));
        const RewriteRun run = rewrite(paths, round);
        peak = std::max(peak, run.peakMegabytesAboveIdle);
        const bool counted = round >= kWarmUpRounds;
        std::printf("  round %d%s: cp + sync %.3f s, rewrite %.3f s\n", round + 1,
                    counted ? "" : " (warm-up)", copy, run.seconds);
        if (counted) {
            copies.push_back(copy);
            rewrites.push_back(run.seconds);
        }
    }
    const double copy = median(copies);
    const double rewritten = median(rewrites);
    std::printf("dg_rewrite: a %.0f MB trial, medians of %d rounds\n", double(size) / (1 << 20),
                kRounds);
    std::printf("  cp + sync of the file:   %.3f s\n", copy);
    std::printf("  header rewrite:          %.3f s\n", rewritten);
    std::printf("  ratio rewrite / copy:    %.2f (target: at most 1.5)\n", rewritten / copy);
    std::printf("  peak memory above idle:  %.1f MB (target: at most 16 MB)\n", peak);
    return 0;
}
