// The first tooltip over a .DG file in the data-file list, as the user
// rests the mouse on it: the time the user-interface thread spends from the
// tooltip event until the file's own tooltip shows (its head read on a
// worker meanwhile), for small files and for files of 1 GB (sparse), against
// the same tooltip shown again from what was kept of the first. Each round
// hovers files not read before, so that every first answer is a first one.

#include "BenchWindow.h"
#include "Median.h"
#include "browser/BrowserPanel.h"
#include "browser/FileList.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QTemporaryDir>
#include <QToolTip>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRounds = 21;
constexpr qint64 kHugeSize = qint64(1) << 30;

double threadMilliseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// A .DG header whose first line names the file, the rest of the file a
// hole of `size` bytes.
void writeTrial(const QString& path, const QByteArray& title, qint64 size)
{
    const QByteArray header = title + "\r\n  24  12\r\n    1    4    3\r\n";
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, header.constData(), size_t(header.size())) != header.size() ||
        ::ftruncate(fd, std::max<qint64>(size, header.size())) != 0)
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    ::close(fd);
}

struct Figures {
    double thread = 0; // processor time of the user-interface thread, ms
    double wall = 0;
};

// Rests the mouse on the file's row and waits until a tooltip holding
// `expected` shows.
Figures hover(kadrix::FileList& list, const QString& name, const QString& expected)
{
    const QModelIndex index = list.model()->index(int(list.names().indexOf(name)), 0);
    list.scrollTo(index);
    const QPoint at = list.visualRect(index).center();
    const QPoint global = list.viewport()->mapToGlobal(at);
    QCursor::setPos(global);
    QElapsedTimer wall;
    wall.start();
    const double start = threadMilliseconds();
    QHelpEvent event(QEvent::ToolTip, at, global);
    QCoreApplication::sendEvent(list.viewport(), &event);
    while (!QToolTip::text().contains(expected) && wall.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    if (!QToolTip::text().contains(expected))
        std::fprintf(stderr, "no tooltip for %s\n", qPrintable(name));
    return {threadMilliseconds() - start, double(wall.nsecsElapsed()) / 1e6};
}

Figures medianOf(const std::vector<Figures>& rounds)
{
    std::vector<double> thread, wall;
    for (const Figures& round : rounds) {
        thread.push_back(round.thread);
        wall.push_back(round.wall);
    }
    return {median(thread), median(wall)};
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir sandbox;
    isolateInto(sandbox);
    QApplication application(argc, argv);
    const QString prog = sandbox.filePath(QStringLiteral("prog"));
    const QString data = sandbox.filePath(QStringLiteral("data"));
    QDir().mkpath(prog);
    QDir().mkpath(data);
    QFile(prog + QStringLiteral("/Kadrix.exe")).open(QIODevice::WriteOnly);
    for (int i = 0; i < kRounds; ++i) {
        writeTrial(data + QStringLiteral("/small%1.dg").arg(i), "Small " + QByteArray::number(i),
                   0);
        writeTrial(data + QStringLiteral("/huge%1.dg").arg(i), "Huge " + QByteArray::number(i),
                   kHugeSize);
        writeTrial(data + QStringLiteral("/plain%1.cn").arg(i), "Plain", 0);
    }
    BenchWindow bench(data, prog);
    kadrix::FileList& list = *bench.window->browser().panel().filDatafiles;
    std::vector<Figures> own, baseline, small, huge;
    for (int i = 0; i < kRounds; ++i) {
        own.push_back(hover(list, QStringLiteral("plain%1.cn").arg(i), list.toolTip()));
        small.push_back(
            hover(list, QStringLiteral("small%1.dg").arg(i), QStringLiteral("Small %1").arg(i)));
        huge.push_back(
            hover(list, QStringLiteral("huge%1.dg").arg(i), QStringLiteral("Huge %1").arg(i)));
        baseline.push_back(
            hover(list, QStringLiteral("small%1.dg").arg(i), QStringLiteral("Small %1").arg(i)));
    }
    const Figures base = medianOf(baseline);
    const Figures listOwn = medianOf(own);
    std::printf("first tooltip over a file, median of %d rounds (a file not read before each):\n",
                kRounds);
    std::printf("  the list's own tooltip  %7.3f ms of the UI thread (%7.3f ms wall)\n",
                listOwn.thread, listOwn.wall);
    std::printf("  small .DG's, kept       %7.3f ms of the UI thread (%7.3f ms wall): baseline\n",
                base.thread, base.wall);
    for (const auto& [label, rounds] :
         {std::pair{"small .DG's, first", &small}, {"1 GB .DG's, first", &huge}}) {
        const Figures figures = medianOf(*rounds);
        const double longest =
            std::max_element(rounds->begin(), rounds->end(), [](auto& a, auto& b) {
                return a.thread < b.thread;
            })->thread;
        std::printf("  %-22s%7.3f ms of the UI thread (%7.3f ms wall), longest %.3f ms;"
                    " ratio %.2fx; under 20 ms: %s\n",
                    label, figures.thread, figures.wall, longest,
                    figures.thread / std::max(base.thread, 0.001), longest < 20 ? "yes" : "no");
    }
    return 0;
}
