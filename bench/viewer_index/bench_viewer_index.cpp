// The text viewer's line index on two 1 GB files, one of line feeds only
// and one of the suite's data lines, against `wc -l` of the same file in the
// same run: the time to the first screen and to the complete index, and the
// peak resident memory while indexing, above the idle process. The files
// are written in a temporary directory and removed at the end.

#include "BenchSandbox.h"
#include "Median.h"
#include "ProcessMemory.h"
#include "docs/BigTextView.h"
#include "docs/ViewerText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace kadrix;

namespace {

constexpr qint64 kFileSize = qint64(1024) * 1024 * 1024;
constexpr int kSamples = 3;

// `size` bytes of `line` over and over.
bool writeFile(const QString& path, const QByteArray& line)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    while (chunk.size() < 1024 * 1024)
        chunk += line;
    chunk.truncate(1024 * 1024);
    for (qint64 written = 0; written < kFileSize; written += chunk.size()) {
        if (file.write(chunk) != chunk.size())
            return false;
    }
    return true;
}

double wcLines(const QString& path)
{
    QElapsedTimer clock;
    clock.start();
    QProcess wc;
    wc.start(QStringLiteral("wc"), {QStringLiteral("-l"), path});
    if (!wc.waitForFinished(-1) || wc.exitCode() != 0)
        qFatal("wc -l failed");
    return clock.nsecsElapsed() / 1e6;
}

struct Sample {
    double firstScreenMs = 0;
    double indexedMs = 0;
    double peakAboveIdleMb = 0;
    qint64 indexBytes = 0;
    qint64 lines = 0;
};

// Opens `path` in a fresh view from the event loop and turns the loop until
// the whole file is indexed.
Sample open(const QString& path)
{
    BigTextView view;
    view.resize(800, 600);
    view.show();
    QApplication::processEvents();
    const double idle = residentMemory().first;
    resetPeakMemory();
    Sample sample;
    QElapsedTimer clock;
    QEventLoop loop;
    // The loop is turned without pause only until the first screen, so that
    // it takes no processor from the worker after that.
    QTimer turns;
    turns.setInterval(0);
    QObject::connect(&turns, &QTimer::timeout, &loop, [&] {
        if (!view.showsFirstScreen())
            return;
        sample.firstScreenMs = clock.nsecsElapsed() / 1e6;
        turns.stop();
        if (!view.isIndexing())
            loop.quit();
    });
    QObject::connect(&view, &BigTextView::indexed, &loop, [&] {
        if (!turns.isActive())
            loop.quit();
    });
    QTimer::singleShot(0, &loop, [&] {
        clock.start();
        turns.start();
        view.setFile(openViewerFile(path).file);
    });
    loop.exec();
    sample.indexedMs = clock.nsecsElapsed() / 1e6;
    sample.peakAboveIdleMb = residentMemory().second - idle;
    sample.indexBytes = view.indexBytes();
    sample.lines = view.lineCount();
    return sample;
}

void measure(const char* what, const QString& path)
{
    wcLines(path); // the file in the page cache, as it is for the viewer
    std::vector<double> wc, first, indexed, peak;
    Sample sample;
    for (int i = 0; i < kSamples; ++i) {
        wc.push_back(wcLines(path));
        sample = open(path);
        first.push_back(sample.firstScreenMs);
        indexed.push_back(sample.indexedMs);
        peak.push_back(sample.peakAboveIdleMb);
    }
    const double baseline = median(wc);
    std::printf("  %s: %lld lines, median of %d runs\n", what, sample.lines, kSamples);
    std::printf("    wc -l                     %8.1f ms\n", baseline);
    std::printf("    first screen              %8.1f ms\n", median(first));
    std::printf("    whole file indexed        %8.1f ms   %.2fx wc -l\n", median(indexed),
                median(indexed) / std::max(baseline, 0.001));
    std::printf("    line index %.2f MB; peak memory %.1f MB above the idle process (worst run "
                "%.1f MB)\n",
                sample.indexBytes / (1024.0 * 1024.0), median(peak),
                *std::max_element(peak.begin(), peak.end()));
    std::fflush(stdout);
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
    isolateInto(sandbox);
    QApplication application(argc, argv);
    if (QStorageInfo(sandbox.path()).bytesAvailable() < 3 * kFileSize) {
        std::fprintf(stderr, "bench_viewer_index: less than 3 GB free in %s\n",
                     qPrintable(sandbox.path()));
        return 1;
    }
    std::printf("viewer_index: the line index of %lld MB text files, offscreen\n",
                kFileSize / (1024 * 1024));
    const QString path = sandbox.filePath(QStringLiteral("text.txt"));
    if (!writeFile(path, "\n"))
        qFatal("cannot write %s", qPrintable(path));
    measure("line feeds only", path);
    QFile::remove(path);
    if (!writeFile(path,
                   "   12   109.9    25.0   121.5    32.2   120.7    37.4   108.2    45.0\r\n"))
        qFatal("cannot write %s", qPrintable(path));
    measure("data lines of 72 bytes, CR LF", path);
    return 0;
}
