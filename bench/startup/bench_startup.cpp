// Start-up time and peak memory of the front-end against a bare Qt window.
//
// Each sample is a fresh process (this program, started again with
// "--child kadrix" or "--child bare") that builds its window, shows it and
// ends as soon as its event loop is idle. The parent measures the time from
// starting the process to its end; the child reports its own peak memory.
// The front-end's child has a data directory of example trials and a
// program directory of its own; the splash is left out, as it waits by
// design.

#include "app/CommandLine.h"
#include "app/VersionText.h"
#include "app/frmKadrix.h"
#include "platform/Host.h"
#include "platform/ProcessStarter.h"
#include "platform/QtMessages.h"
#include "platform/QtSettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSamples = 15;

long peakMemoryKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLong();
    }
    return 0;
}

int runChild(int argc, char* argv[], bool kadrix)
{
    QApplication application(argc, argv);
    std::unique_ptr<QWidget> window;
    kadrix::QtMessages messages;
    kadrix::ProcessStarter starter(messages);
    kadrix::QtSettingsStore settings;
    kadrix::Host host{messages, starter, settings};
    if (kadrix) {
        auto main = std::make_unique<kadrix::frmKadrix>(
            host,
            kadrix::frmKadrix::LaunchInfo{QString(), QCoreApplication::applicationDirPath(),
                                          kadrix::buildVersion(), std::chrono::milliseconds(0)});
        main->Form_Load();
        window = std::move(main);
    } else {
        window = std::make_unique<QMainWindow>();
        window->resize(574, 386);
    }
    window->show();
    // Ends once every pending event, the window's first paint among them,
    // has been handled.
    QTimer::singleShot(0, &application, [] {
        std::printf("%ld\n", peakMemoryKiB());
        QCoreApplication::quit();
    });
    return QApplication::exec();
}

struct Sample {
    double milliseconds = 0;
    long peakKiB = 0;
};

Sample runSample(const QString& which, const QProcessEnvironment& environment,
                 const QString& directory)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(directory);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), which});
    child.waitForFinished(60000);
    const double elapsed = clock.nsecsElapsed() / 1e6;
    return {elapsed, child.readAllStandardOutput().trimmed().toLong()};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return runChild(argc, argv, QByteArray(argv[2]) == "kadrix");

    QCoreApplication application(argc, argv);
    QTemporaryDir sandbox;
    const QString data = sandbox.filePath(QStringLiteral("data"));
    QDir().mkpath(data);
    QDir().mkpath(sandbox.filePath(QStringLiteral("config")));
    for (int i = 0; i < 40; ++i)
        QFile(data + QStringLiteral("/trial%1.dg").arg(i)).open(QIODevice::WriteOnly);
    const QString prog = sandbox.filePath(QStringLiteral("prog"));
    QDir().mkpath(prog);
    QFile(prog + QStringLiteral("/Kadrix.exe")).open(QIODevice::WriteOnly);
    QDir().mkpath(sandbox.filePath(QStringLiteral("config/Movarta")));
    QFile configuration(sandbox.filePath(QStringLiteral("config/Movarta/Movarta.conf")));
    configuration.open(QIODevice::WriteOnly);
    configuration.write("[Startup]\nDatadir=" + QFile::encodeName(data) +
                        "\nProgdir=" + QFile::encodeName(prog) + "\n");
    configuration.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       sandbox.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("HOME"), sandbox.path());

    std::vector<double> kadrixTimes, bareTimes;
    long kadrixPeak = 0, barePeak = 0;
    runSample(QStringLiteral("bare"), environment, data); // warm the file caches
    for (int i = 0; i < kSamples; ++i) {
        const Sample bare = runSample(QStringLiteral("bare"), environment, data);
        const Sample kadrix = runSample(QStringLiteral("kadrix"), environment, data);
        bareTimes.push_back(bare.milliseconds);
        kadrixTimes.push_back(kadrix.milliseconds);
        barePeak = std::max(barePeak, bare.peakKiB);
        kadrixPeak = std::max(kadrixPeak, kadrix.peakKiB);
    }
    const double bareTime = median(bareTimes);
    const double kadrixTime = median(kadrixTimes);
    std::printf("start-up to an idle window, median of %d runs (offscreen):\n", kSamples);
    std::printf("  bare Qt window  %8.1f ms   peak memory %7ld KiB\n", bareTime, barePeak);
    std::printf("  kadrix95        %8.1f ms   peak memory %7ld KiB\n", kadrixTime, kadrixPeak);
    std::printf("  ratio: time %.2fx (target 1.5x), memory %.2fx (target 1.3x)\n",
                kadrixTime / bareTime, double(kadrixPeak) / double(std::max(barePeak, 1L)));
    return 0;
}
