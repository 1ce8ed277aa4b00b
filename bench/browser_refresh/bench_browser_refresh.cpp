// Refreshing the browser's lists over a directory of 100,000 files, against
// a bare readdir() of that directory in the same run; and the longest time
// the event loop was kept from running while the lists were refreshed.

#include "BenchWindow.h"
#include "Median.h"
#include "app/frmKadrix.h"
#include "browser/Browser.h"
#include "browser/DirectoryReader.h"
#include "browser/FileList.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <vector>

namespace {

constexpr int kFiles = 100000;
constexpr int kRounds = 7;

void makeFiles(const QString& directory)
{
    const char* extensions[] = {"dg", "csv", "txt", "km", "dat", "xyz", "3d", "jpg"};
    for (int i = 0; i < kFiles; ++i) {
        QFile file(directory + QStringLiteral("/trial%1.%2")
                                   .arg(i, 6, 10, QLatin1Char('0'))
                                   .arg(QLatin1String(extensions[i % 8])));
        file.open(QIODevice::WriteOnly);
    }
}

// The floor: the names as the system hands them out, nothing more.
double timeBareReaddir(const QString& directory)
{
    QElapsedTimer clock;
    clock.start();
    DIR* stream = ::opendir(QFile::encodeName(directory).constData());
    long count = 0;
    while (stream && ::readdir(stream))
        ++count;
    if (stream)
        ::closedir(stream);
    if (count < kFiles)
        std::fprintf(stderr, "unexpected count %ld\n", count);
    return clock.nsecsElapsed() / 1e6;
}

// Measures the longest gap between the ticks of a fast timer: the longest
// time the user interface could not answer.
class StallMeter {
public:
    StallMeter()
    {
        timer_.setInterval(2);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, clock_.nsecsElapsed() / 1e6);
            clock_.restart();
        });
    }
    void start()
    {
        longest_ = 0;
        clock_.start();
        timer_.start();
    }
    double stop()
    {
        timer_.stop();
        return longest_;
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    double longest_ = 0;
};

// Lets the watch on the directory report the file the round added, so
// that its reading does not fall into the next round.
void settle(const kadrix::DirectoryReader& reader)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 500 || reader.isBusy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir sandbox;
    isolateInto(sandbox);
    QApplication application(argc, argv);
    const QString data = sandbox.filePath(QStringLiteral("data"));
    const QString prog = sandbox.filePath(QStringLiteral("prog"));
    QDir().mkpath(data);
    QDir().mkpath(prog);
    QFile(prog + QStringLiteral("/Kadrix.exe")).open(QIODevice::WriteOnly);
    std::printf("making %d files...\n", kFiles);
    makeFiles(data);

    BenchWindow bench(data, prog);
    kadrix::frmKadrix& window = *bench.window;
    kadrix::DirectoryReader& reader = window.browser().reader();

    std::vector<double> raw, refresh, stalls;
    StallMeter meter;
    const kadrix::FileList& dataFiles = *window.controls().filDatafiles;
    for (int round = 0; round < kRounds; ++round) {
        raw.push_back(timeBareReaddir(data));
        // A changed directory, so that every list takes a new listing; the
        // refresh is over when the new file is listed.
        const int before = dataFiles.listCount();
        QFile(data + QStringLiteral("/added%1.dg").arg(round)).open(QIODevice::WriteOnly);
        meter.start();
        QElapsedTimer clock;
        clock.start();
        window.browser().cmdRefresh_Click();
        while (dataFiles.listCount() == before)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QCoreApplication::processEvents(); // the lists' layout
        refresh.push_back(clock.nsecsElapsed() / 1e6);
        stalls.push_back(meter.stop());
        settle(reader);
    }
    const double rawTime = median(raw);
    const double refreshTime = median(refresh);
    std::printf("%d files, median of %d rounds:\n", kFiles, kRounds);
    std::printf("  bare readdir()           %8.1f ms\n", rawTime);
    std::printf("  refresh of all the lists %8.1f ms  (data files listed: %d)\n", refreshTime,
                window.controls().filDatafiles->listCount());
    std::printf("  ratio %.2fx (target 2x)\n", refreshTime / rawTime);
    std::printf("  longest time the event loop was blocked: %.1f ms (target < 50 ms)\n",
                *std::max_element(stalls.begin(), stalls.end()));
    return 0;
}
