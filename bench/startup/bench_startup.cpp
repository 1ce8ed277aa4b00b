// Start-up time and peak memory of the front-end against a bare Qt window
// (bench_bare_window, linked against Qt Widgets only), in the same run:
//
// - to the companion's start: kadrix95 started with a trial on its command
//   line, until the animation program it starts is running; against the
//   bare window that starts the same program, with the same arguments, once
//   shown. The program is a shell script that writes one byte into a FIFO
//   this bench waits on.
// - to an idle window: a fresh process (this program again, "--child")
//   that builds the main window, shows it and ends as soon as its event loop
//   is idle; against the bare window doing the same. Each reports its own
//   peak memory. The splash is left out, as it waits by design.
//
// Every sample is a fresh process; samples of the two sides alternate, and
// the median of each is compared. Offscreen, with a sandboxed home and
// configuration.

#include "Median.h"
#include "ProcessMemory.h"
#include "app/frmKadrix.h"
#include "core/VersionText.h"
#include "platform/Host.h"
#include "platform/ProcessStarter.h"
#include "platform/QtMessages.h"
#include "platform/QtSettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSamples = 21;

int runIdleChild(int argc, char* argv[])
{
    QApplication application(argc, argv);
    kadrix::QtMessages messages;
    kadrix::ProcessStarter starter(messages);
    kadrix::QtSettingsStore settings;
    kadrix::Host host{messages, starter, settings};
    kadrix::frmKadrix window(
        host, kadrix::frmKadrix::LaunchInfo{QString(), QCoreApplication::applicationDirPath(),
                                            kadrix::buildVersion(), std::chrono::milliseconds(0)});
    window.Form_Load();
    window.show();
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

struct Side {
    QString program;
    QStringList arguments;
};

class Sandbox {
public:
    Sandbox()
    {
        data = path(QStringLiteral("data"));
        prog = path(QStringLiteral("prog"));
        fifo = path(QStringLiteral("started"));
        for (const QString& directory : {data, prog, path(QStringLiteral("config/Movarta"))})
            QDir().mkpath(directory);
        for (int i = 0; i < 40; ++i)
            QFile(data + QStringLiteral("/trial%1.dg").arg(i)).open(QIODevice::WriteOnly);
        write(data + QStringLiteral("/walk1.dg"), "header\r\n");
        // The animation program announces its start and ends.
        animation = prog + QStringLiteral("/Kadrix.exe");
        write(animation, "#!/bin/sh\nprintf x > \"$KADRIX_BENCH_FIFO\"\n");
        QFile::setPermissions(animation, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        write(path(QStringLiteral("config/Movarta/Movarta.conf")),
              "[Startup]\nDatadir=" + QFile::encodeName(data) +
                  "\nProgdir=" + QFile::encodeName(prog) + "\n");
        mkfifo(QFile::encodeName(fifo).constData(), 0600);

        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        environment.insert(QStringLiteral("HOME"), root.path());
        environment.insert(QStringLiteral("KADRIX_BENCH_FIFO"), fifo);
    }

    QString path(const QString& name) const { return root.filePath(name); }

    QTemporaryDir root;
    QString data, prog, fifo, animation;
    QProcessEnvironment environment;

private:
    static void write(const QString& name, const QByteArray& bytes)
    {
        QFile file(name);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
};

// Waits for the animation program's byte; false when the child ends first
// or after 30 s without it.
bool waitForCompanion(int fifo, QProcess& child)
{
    pollfd watched{fifo, POLLIN, 0};
    for (int waited = 0; waited < 30000; waited += 10) {
        if (poll(&watched, 1, 10) == 1) {
            char byte = 0;
            return read(fifo, &byte, 1) == 1;
        }
        if (child.waitForFinished(0))
            return false;
    }
    return false;
}

// Starts `side` in the sandbox's data directory, as the user would.
void start(QProcess& child, const Sandbox& sandbox, const Side& side)
{
    child.setProcessEnvironment(sandbox.environment);
    child.setWorkingDirectory(sandbox.data);
    child.start(side.program, side.arguments);
}

Sample toCompanionStart(const Sandbox& sandbox, const Side& side)
{
    const int fifo = open(QFile::encodeName(sandbox.fifo).constData(), O_RDONLY | O_NONBLOCK);
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    start(child, sandbox, side);
    const bool started = waitForCompanion(fifo, child);
    const double elapsed = clock.nsecsElapsed() / 1e6;
    close(fifo);
    child.kill();
    child.waitForFinished(10000);
    if (started)
        return {elapsed, 0};
    std::fprintf(stderr, "%s did not start the companion (left out):\n%s\n",
                 qPrintable(side.program), child.readAllStandardError().constData());
    return {-1, 0};
}

Sample toIdleWindow(const Sandbox& sandbox, const Side& side)
{
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    start(child, sandbox, side);
    child.waitForFinished(60000);
    const double elapsed = clock.nsecsElapsed() / 1e6;
    return {elapsed, child.readAllStandardOutput().trimmed().toLong()};
}

struct Comparison {
    double bareTime = 0;
    double kadrixTime = 0;
    long barePeak = 0;
    long kadrixPeak = 0;
};

template <typename Measure>
Comparison compare(const Side& bare, const Side& kadrix, Measure measure)
{
    std::vector<double> bareTimes, kadrixTimes;
    Comparison result;
    measure(bare); // warms the file caches
    measure(kadrix);
    for (int i = 0; i < kSamples; ++i) {
        const Sample bareSample = measure(bare);
        const Sample kadrixSample = measure(kadrix);
        if (bareSample.milliseconds < 0 || kadrixSample.milliseconds < 0)
            continue;
        bareTimes.push_back(bareSample.milliseconds);
        kadrixTimes.push_back(kadrixSample.milliseconds);
        result.barePeak = std::max(result.barePeak, bareSample.peakKiB);
        result.kadrixPeak = std::max(result.kadrixPeak, kadrixSample.peakKiB);
    }
    result.bareTime = median(bareTimes);
    result.kadrixTime = median(kadrixTimes);
    return result;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 2 && QByteArray(argv[1]) == "--child")
        return runIdleChild(argc, argv);

    QCoreApplication application(argc, argv);
    const QString here = QCoreApplication::applicationDirPath();
    const QString bareWindow = here + QStringLiteral("/bench_bare_window");
    const QString kadrix95 =
        qEnvironmentVariable("KADRIX_EXE", here + QStringLiteral("/../bin/kadrix95"));
    Sandbox sandbox;

    const QStringList animationArguments{QStringLiteral("/q"), QStringLiteral("/1"),
                                         QStringLiteral("/r"), QStringLiteral("walk1.dg")};
    const Comparison companion = compare(
        {bareWindow, QStringList{QStringLiteral("start"), sandbox.animation} + animationArguments},
        {kadrix95, {QStringLiteral("walk1.dg")}},
        [&](const Side& side) { return toCompanionStart(sandbox, side); });
    const Comparison idle =
        compare({bareWindow, {QStringLiteral("idle")}},
                {QCoreApplication::applicationFilePath(), {QStringLiteral("--child")}},
                [&](const Side& side) { return toIdleWindow(sandbox, side); });

    std::printf("start-up, median of %d runs each (offscreen):\n", kSamples);
    std::printf("  to the companion's start: kadrix95 %6.1f ms, bare window %6.1f ms: %.2fx "
                "(target 1.2x)\n",
                companion.kadrixTime, companion.bareTime,
                companion.kadrixTime / companion.bareTime);
    std::printf("  to an idle window:        kadrix95 %6.1f ms, bare window %6.1f ms: %.2fx "
                "(target 1.2x)\n",
                idle.kadrixTime, idle.bareTime, idle.kadrixTime / idle.bareTime);
    std::printf("  peak memory at idle:      kadrix95 %6.1f MB, bare window %6.1f MB: %.2fx "
                "(target 1.3x)\n",
                idle.kadrixPeak / 1024.0, idle.barePeak / 1024.0,
                double(idle.kadrixPeak) / double(std::max(idle.barePeak, 1L)));
    return 0;
}
