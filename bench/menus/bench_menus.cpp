// Opening the Data menu, its Convert submenu and the Ariel submenu with the
// trial in a directory of 200,000 files, against the same trial in a
// directory of its own: the time the user-interface thread spends, each
// menu's items being enabled from the trial's files on the disk. The
// trial's files differ in letter case from the names the menus look for,
// so that every lookup has to find them regardless of case.

#include "BenchWindow.h"
#include "Median.h"
#include "app/MainControls.h"
#include "core/AppState.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int kFiles = 200000;
constexpr int kRounds = 21;

double threadMilliseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double wallMilliseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

void touch(const QString& path)
{
    QFile(path).open(QIODevice::WriteOnly);
}

struct Figures {
    double thread = 0; // processor time of the user-interface thread, ms
    double wall = 0;
};

// The three menus opened one after the other, as a user goes down to the
// Ariel Dynamics items; the median of the rounds.
Figures openMenus(const QString& data, const QString& prog)
{
    BenchWindow bench(data, prog);
    kadrix::frmKadrix& window = *bench.window;
    QCoreApplication::processEvents();
    kadrix::AppState& state = window.state();
    state.TrialName = QStringLiteral("walk1");
    state.TrialExt = QStringLiteral("CSV");
    kadrix::MainControls& ui = window.controls();

    std::vector<double> thread, wall;
    for (int round = 0; round < kRounds; ++round) {
        const double startThread = threadMilliseconds();
        const double startWall = wallMilliseconds();
        Q_EMIT ui.mnuDatafiles->aboutToShow();
        Q_EMIT ui.mnuConverts->aboutToShow();
        Q_EMIT ui.mnuAriel->aboutToShow();
        thread.push_back(threadMilliseconds() - startThread);
        wall.push_back(wallMilliseconds() - startWall);
    }
    if (!ui.mnuArielType.at(3)->isEnabled() || !ui.mnuDatafile.at(1)->isEnabled())
        std::fprintf(stderr, "the trial's files were not found\n");
    return {median(thread), median(wall)};
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir sandbox;
    isolateInto(sandbox);
    QApplication application(argc, argv);
    const QString prog = sandbox.filePath(QStringLiteral("prog"));
    const QString alone = sandbox.filePath(QStringLiteral("alone"));
    const QString crowded = sandbox.filePath(QStringLiteral("crowded"));
    for (const QString& directory : {prog, alone, crowded})
        QDir().mkpath(directory);
    touch(prog + QStringLiteral("/Kadrix.exe"));
    for (const QString& directory : {alone, crowded}) {
        for (const char* name : {"Walk1.csv", "WALK1.DG", "WALK1.3T"})
            touch(directory + QLatin1Char('/') + QLatin1String(name));
    }
    std::printf("making %d files...\n", kFiles);
    for (int i = 0; i < kFiles; ++i)
        touch(crowded + QStringLiteral("/trial%1.dat").arg(i, 6, 10, QLatin1Char('0')));

    const Figures baseline = openMenus(alone, prog);
    const Figures measured = openMenus(crowded, prog);
    std::printf("Data, Convert and Ariel menus opened, median of %d rounds:\n", kRounds);
    std::printf("  trial alone            %7.3f ms of the UI thread (%7.3f ms wall)\n",
                baseline.thread, baseline.wall);
    std::printf("  with %d files     %7.3f ms of the UI thread (%7.3f ms wall)\n", kFiles,
                measured.thread, measured.wall);
    std::printf("  ratio %.2fx (target 1.2x); under 50 ms: %s\n",
                measured.thread / std::max(baseline.thread, 0.001),
                measured.thread < 50 ? "yes" : "no");
    return 0;
}
