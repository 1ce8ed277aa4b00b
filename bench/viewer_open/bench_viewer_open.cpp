// Showing a 20 MB text file in the text viewer, against reading the same
// file in the same run.
//
// Each sample loads a fresh viewer offscreen, runs its activation from the
// event loop and waits until the text box holds the whole file. Meanwhile a
// zero-interval timer notes the longest gap between two turns of the event
// loop: the longest time the program could not answer the user. For
// comparison the whole text is also put into a text box at once.

#include "FakeMessages.h"
#include "FakeSettingsStore.h"
#include "FakeStarter.h"
#include "app/AppState.h"
#include "docs/ViewerText.h"
#include "docs/frmViewer.h"
#include "platform/Host.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace kadrix;

namespace {

constexpr qint64 kFileSize = 20 * 1024 * 1024;
constexpr int kSamples = 5;

// Nothing this bench does may reach the user's home, settings or display.
void isolate(const QTemporaryDir& sandbox)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char* variable :
         {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        qputenv(variable, QFile::encodeName(sandbox.path()));
}

// Lines as the suite's data files have them, CR LF at each end.
qint64 writeTextFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    qint64 lines = 0;
    while (file.size() < kFileSize) {
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
    double milliseconds = 0;
    double longestBlockedMs = 0;
};

// Runs `start` from the event loop and turns the loop until `done`, noting
// the whole time and the longest gap between two turns.
Sample measure(const std::function<void()>& start, const std::function<bool()>& done)
{
    QEventLoop loop;
    QElapsedTimer clock;
    QElapsedTimer sinceLastTurn;
    double longest = 0;
    QTimer turns;
    turns.setInterval(0);
    QObject::connect(&turns, &QTimer::timeout, &loop, [&] {
        longest = std::max(longest, sinceLastTurn.nsecsElapsed() / 1e6);
        sinceLastTurn.restart();
        if (done())
            loop.quit();
    });
    QTimer::singleShot(0, &loop, [&] {
        clock.start();
        sinceLastTurn.start();
        turns.start();
        start();
    });
    loop.exec();
    return {clock.nsecsElapsed() / 1e6, longest};
}

Sample showInViewer(const QString& path)
{
    AppState state;
    state.ViewerFile = path;
    test::FakeMessages messages;
    test::FakeStarter starter;
    test::FakeSettingsStore settings;
    Host host{messages, starter, settings};
    auto* viewer = new frmViewer(state, host);
    const Sample sample =
        measure([viewer] { viewer->showAndActivate(); }, [viewer] { return !viewer->isFilling(); });
    delete viewer;
    return sample;
}

Sample setAllAtOnce(const QString& path)
{
    QPlainTextEdit box;
    box.show();
    bool set = false;
    return measure(
        [&] {
            box.setPlainText(readViewerText(path).text);
            set = true;
        },
        [&set] { return set; });
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

// The offscreen platform's notes on what it cannot do are not figures.
void quietWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtWarningMsg && type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

int main(int argc, char* argv[])
{
    qInstallMessageHandler(quietWarnings);
    QTemporaryDir sandbox;
    isolate(sandbox);
    QApplication application(argc, argv);
    const QString path = sandbox.filePath(QStringLiteral("trial.txt"));
    const qint64 lines = writeTextFile(path);

    std::vector<double> reads, shows, blocked;
    readOnce(path); // warm the file cache
    for (int i = 0; i < kSamples; ++i) {
        reads.push_back(readOnce(path));
        const Sample shown = showInViewer(path);
        shows.push_back(shown.milliseconds);
        blocked.push_back(shown.longestBlockedMs);
    }
    const Sample atOnce = setAllAtOnce(path);

    const double read = median(reads);
    const double show = median(shows);
    std::printf("viewer_open: a %lld MB text file of %lld lines, offscreen, median of %d runs\n",
                kFileSize / (1024 * 1024), lines, kSamples);
    std::printf("  reading the file              %9.1f ms\n", read);
    std::printf("  showing it in the viewer      %9.1f ms\n", show);
    std::printf("  ratio                         %9.1fx\n", show / std::max(read, 0.001));
    std::printf("  longest time the event loop was blocked: %.1f ms (worst run %.1f ms)\n",
                median(blocked), *std::max_element(blocked.begin(), blocked.end()));
    std::printf("  for comparison, the whole text set at once: %.1f ms, all of it blocked\n",
                atOnce.milliseconds);
    std::fflush(stdout);
    return 0;
}
