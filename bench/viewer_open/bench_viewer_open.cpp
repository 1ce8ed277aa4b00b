// Showing a 20 MB text file in the text viewer, against reading the same
// file in the same run; with --huge, a 1 GB file instead, in a process of its
// own so that its peak memory is its own.
//
// Each sample loads a fresh viewer offscreen, runs its activation from the
// event loop and waits until the text box has drawn its first screen, then
// until the whole file is indexed. Meanwhile a zero-interval timer notes the
// longest gap between two turns of the event loop: the longest time the
// program could not answer the user. For the 1 GB file the peak resident
// memory while it opens is set against the idle process. In the line of
// 100 MB, the keys and a screen drawn at its end are timed.

#include "BenchSandbox.h"
#include "FakeMessages.h"
#include "FakeSettingsStore.h"
#include "FakeStarter.h"
#include "Median.h"
#include "ProcessMemory.h"
#include "core/AppState.h"
#include "docs/BigTextView.h"
#include "docs/frmViewer.h"
#include "platform/Host.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

using namespace kadrix;

namespace {

constexpr qint64 kFileSize = 20 * 1024 * 1024;
constexpr qint64 kHugeFileSize = qint64(1024) * 1024 * 1024;
constexpr int kSamples = 5;

// Lines as the suite's data files have them, CR LF at each end.
qint64 writeTextFile(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    qint64 lines = 0;
    while (file.size() < size) {
        QByteArray chunk;
        for (int i = 0; i < 1000; ++i, ++lines)
            chunk += QByteArray::number(lines).rightJustified(5) +
                     "   109.9    25.0   121.5    32.2   120.7    37.4   108.2    45.0\r\n";
        file.write(chunk);
    }
    return lines;
}

double readOnce(const QString& path)
{
    QElapsedTimer clock;
    clock.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.readAll().size() != file.size())
        return 0;
    return clock.nsecsElapsed() / 1e6;
}

struct Sample {
    double firstScreenMs = 0;
    double indexedMs = 0;
    double longestBlockedMs = 0;
    double longestBusyMs = 0; // processor time of this thread in one turn
};

// The processor time this thread has used: a gap between two turns that
// used little of it was the machine's load, not the program.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Runs `start` from the event loop and turns the loop until `done`, noting
// when `firstScreen` first holds, the whole time and the longest gap between
// two turns.
Sample measure(const std::function<void()>& start, const std::function<bool()>& firstScreen,
               const std::function<bool()>& done)
{
    QEventLoop loop;
    QElapsedTimer clock;
    QElapsedTimer sinceLastTurn;
    Sample sample;
    double cpuAtLastTurn = 0;
    QTimer turns;
    turns.setInterval(0);
    QObject::connect(&turns, &QTimer::timeout, &loop, [&] {
        sample.longestBlockedMs =
            std::max(sample.longestBlockedMs, sinceLastTurn.nsecsElapsed() / 1e6);
        const double cpu = threadCpuMs();
        sample.longestBusyMs = std::max(sample.longestBusyMs, cpu - cpuAtLastTurn);
        cpuAtLastTurn = cpu;
        sinceLastTurn.restart();
        if (sample.firstScreenMs == 0 && firstScreen())
            sample.firstScreenMs = clock.nsecsElapsed() / 1e6;
        if (sample.firstScreenMs > 0 && done())
            loop.quit();
    });
    QTimer::singleShot(0, &loop, [&] {
        clock.start();
        sinceLastTurn.start();
        cpuAtLastTurn = threadCpuMs();
        turns.start();
        start();
    });
    loop.exec();
    sample.indexedMs = clock.nsecsElapsed() / 1e6;
    return sample;
}

struct Viewer {
    explicit Viewer(const QString& path)
    {
        state.ViewerFile = path;
        window = new frmViewer(state, host);
    }
    ~Viewer() { delete window; }
    Q_DISABLE_COPY_MOVE(Viewer)

    AppState state;
    test::FakeMessages messages;
    test::FakeStarter starter;
    test::FakeSettingsStore settings;
    Host host{messages, starter, settings};
    frmViewer* window = nullptr;
};

Sample showInViewer(Viewer& viewer)
{
    BigTextView* box = viewer.window->txtViewer();
    return measure([&viewer] { viewer.window->showAndActivate(); },
                   [box] { return box->showsFirstScreen(); }, [box] { return !box->isIndexing(); });
}

} // namespace

// The offscreen platform's notes on what it cannot do are not figures.
void quietWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtWarningMsg && type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

int runHuge(const QString& path)
{
    const qint64 lines = writeTextFile(path, kHugeFileSize);
    const double read = readOnce(path);
    Viewer viewer(path);
    QApplication::processEvents();
    const auto [idle, ignored] = residentMemory();
    resetPeakMemory();
    const Sample shown = showInViewer(viewer);
    const auto [now, peak] = residentMemory();
    const double index = viewer.window->txtViewer()->indexBytes() / (1024.0 * 1024.0);

    // Round the file: its middle, its last line, and a search for the last line's text.
    BigTextView* box = viewer.window->txtViewer();
    QElapsedTimer clock;
    clock.start();
    box->scrollToLine(box->lineCount() / 2);
    box->scrollToLine(box->lineCount() - 1);
    box->viewport()->repaint();
    const double scrolled = clock.nsecsElapsed() / 1e6;
    box->scrollToLine(0);
    const QString needle = box->lineText(box->lineCount() - 2).trimmed();
    const Sample found = measure([box, needle] { box->find(needle); }, [] { return true; },
                                 [box] { return !box->isSearching(); });
    const auto [after, peakAfter] = residentMemory();

    std::printf("viewer_open --huge: a %lld MB text file of %lld lines, offscreen\n",
                kHugeFileSize / (1024 * 1024), lines);
    std::printf("  reading the file once              %9.1f ms\n", read);
    std::printf("  first screen shown                 %9.1f ms\n", shown.firstScreenMs);
    std::printf("  whole file indexed                 %9.1f ms\n", shown.indexedMs);
    std::printf("  longest time the event loop was blocked while opening: %.1f ms "
                "(of it busy on this thread %.1f ms)\n",
                shown.longestBlockedMs, shown.longestBusyMs);
    std::printf("  to the middle and the last line, drawn: %.1f ms\n", scrolled);
    std::printf("  search from the top for the text of the last line: %.1f ms, found at line %lld, "
                "event loop blocked at most %.1f ms\n",
                found.indexedMs, box->firstVisibleLine(), found.longestBlockedMs);
    std::printf("  line index %.2f MB; resident memory idle %.1f MB, peak while opening %.1f MB "
                "(+%.1f MB), after the search %.1f MB (peak %.1f MB)\n",
                index, idle, peak, peak - idle, after, peakAfter);
    std::fflush(stdout);
    return 0;
}

double timed(const std::function<void()>& work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e6;
}

// A line of 100 MB between two short ones: End, Up and a screen drawn at
// its end, and a search for the text at its end.
int runLongLine(const QString& path)
{
    constexpr qint64 kLine = 100 * 1024 * 1024;
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write("first line\n");
        const QByteArray chunk = QByteArray("caf\xC3\xA9 au lait\t").repeated(64 * 1024);
        for (qint64 written = 0; written < kLine; written += chunk.size())
            file.write(chunk);
        file.write("the end of the long line\nthe last line\n");
    }
    Viewer viewer(path);
    BigTextView* box = viewer.window->txtViewer();
    const Sample shown = showInViewer(viewer);
    const auto key = [box](Qt::Key key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(box, &press);
    };
    const double end = timed([&] { key(Qt::Key_End); });
    const double paint = timed([&] { box->viewport()->repaint(); });
    const double up = timed([&] {
        for (int i = 0; i < 100; ++i)
            key(Qt::Key_Up);
    });
    const double paintUp = timed([&] { box->viewport()->repaint(); });
    key(Qt::Key_Home);
    const Sample found = measure([box] { box->find(QStringLiteral("THE END of the long")); },
                                 [] { return true; }, [box] { return !box->isSearching(); });
    std::printf("viewer_open --huge: a line of %lld MB, offscreen\n", kLine / (1024 * 1024));
    std::printf("  first screen %.1f ms, whole file indexed %.1f ms\n", shown.firstScreenMs,
                shown.indexedMs);
    std::printf("  End %.2f ms, then a screen drawn %.2f ms; Up %.3f ms a key, then a screen "
                "drawn %.2f ms\n",
                end, paint, up / 100, paintUp);
    std::printf("  search for the text at its end: %.1f ms, selected \"%s\"\n", found.indexedMs,
                qPrintable(box->selectedText()));
    std::fflush(stdout);
    return 0;
}

int main(int argc, char* argv[])
{
    qInstallMessageHandler(quietWarnings);
    QTemporaryDir sandbox;
    isolateInto(sandbox);
    QApplication application(argc, argv);
    const QString path = sandbox.filePath(QStringLiteral("trial.txt"));
    if (application.arguments().contains(QStringLiteral("--huge"))) {
        const int huge = runHuge(path);
        QFile::remove(path);
        return huge == 0 ? runLongLine(path) : huge;
    }
    const qint64 lines = writeTextFile(path, kFileSize);

    // The floor: the same window on a file of one line.
    const QString small = sandbox.filePath(QStringLiteral("small.txt"));
    writeTextFile(small, 1);
    std::vector<double> reads, shows, indexed, blocked, busy, smallShows, smallBlocked;
    readOnce(path); // warm the file cache
    for (int i = 0; i < kSamples; ++i) {
        Viewer smallViewer(small);
        const Sample smallShown = showInViewer(smallViewer);
        smallShows.push_back(smallShown.firstScreenMs);
        smallBlocked.push_back(smallShown.longestBlockedMs);
        reads.push_back(readOnce(path));
        Viewer viewer(path);
        const Sample shown = showInViewer(viewer);
        shows.push_back(shown.firstScreenMs);
        indexed.push_back(shown.indexedMs);
        blocked.push_back(shown.longestBlockedMs);
        busy.push_back(shown.longestBusyMs);
    }

    const double read = median(reads);
    const double show = median(shows);
    std::printf("viewer_open: a %lld MB text file of %lld lines, offscreen, median of %d runs\n",
                kFileSize / (1024 * 1024), lines, kSamples);
    std::printf("  reading the file              %9.1f ms\n", read);
    std::printf("  first screen in the viewer    %9.1f ms\n", show);
    std::printf("  ratio                         %9.2fx\n", show / std::max(read, 0.001));
    std::printf("  whole file indexed            %9.1f ms\n", median(indexed));
    std::printf("  longest time the event loop was blocked: %.1f ms (worst run %.1f ms)\n",
                median(blocked), *std::max_element(blocked.begin(), blocked.end()));
    std::printf("  longest turn's processor time on the user-interface thread: %.1f ms (worst run "
                "%.1f ms)\n",
                median(busy), *std::max_element(busy.begin(), busy.end()));
    std::printf(
        "  the same window on a one-line file: first screen %.1f ms, longest block %.1f ms\n",
        median(smallShows), median(smallBlocked));
    std::fflush(stdout);
    return 0;
}
