// Time from starting "kadrix95 walk1.dg" to the start of the animation
// program, with 100,000 files in the data directory, against the same start
// in a directory that holds only the trial. The real kadrix95 runs
// offscreen with the stand-in as Kadrix.exe; the clock stops when the
// stand-in's record of its start appears.

#include "Median.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <vector>

namespace {

constexpr int kFiles = 100000;
constexpr int kSamples = 9;

struct Installation {
    QString data;
    QProcessEnvironment environment;
    QString log;
};

void writeText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
}

Installation install(const QString& root, const QString& prog, int extraFiles)
{
    Installation installation;
    installation.data = root + QStringLiteral("/data");
    installation.log = root + QStringLiteral("/standin.log");
    QDir().mkpath(installation.data);
    QDir().mkpath(root + QStringLiteral("/config/Movarta"));
    writeText(root + QStringLiteral("/config/Movarta/Movarta.conf"),
              "[Startup]\nDatadir=" + QFile::encodeName(installation.data) +
                  "\nProgdir=" + QFile::encodeName(prog) + "\n");
    writeText(installation.data + QStringLiteral("/walk1.dg"), "x\r\n");
    const char* extensions[] = {"dg", "csv", "txt", "km", "dat", "xyz", "3d", "jpg"};
    for (int i = 0; i < extraFiles; ++i)
        writeText(installation.data + QStringLiteral("/trial%1.%2")
                                          .arg(i, 6, 10, QLatin1Char('0'))
                                          .arg(QLatin1String(extensions[i % 8])),
                  {});
    installation.environment = QProcessEnvironment::systemEnvironment();
    installation.environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    installation.environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                                    root + QStringLiteral("/config"));
    installation.environment.insert(QStringLiteral("HOME"), root);
    installation.environment.insert(QStringLiteral("KADRIX_STANDIN_LOG"), installation.log);
    return installation;
}

// The process id the stand-in recorded, once its record is complete.
qint64 recordedStart(const QString& log)
{
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = file.readLine();
    if (!line.endsWith('\n'))
        return 0;
    return QJsonDocument::fromJson(line).object().value(QStringLiteral("pid")).toInteger();
}

double timeOneStart(const Installation& installation)
{
    QFile::remove(installation.log);
    QProcess kadrix;
    kadrix.setProcessEnvironment(installation.environment);
    kadrix.setWorkingDirectory(installation.data);
    QElapsedTimer clock;
    clock.start();
    kadrix.start(QStringLiteral(KADRIX95_PATH), {QStringLiteral("walk1.dg")});
    qint64 standin = 0;
    while ((standin = recordedStart(installation.log)) == 0 && clock.elapsed() < 60000)
        QThread::usleep(500);
    const double elapsed = clock.nsecsElapsed() / 1e6;
    if (standin > 0)
        ::kill(static_cast<pid_t>(standin), SIGKILL);
    kadrix.kill();
    kadrix.waitForFinished();
    return elapsed;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir sandbox;
    const QString prog = sandbox.filePath(QStringLiteral("prog"));
    QDir().mkpath(prog);
    QFile::copy(QStringLiteral(STANDIN_PATH), prog + QStringLiteral("/Kadrix.exe"));
    std::printf("making %d files...\n", kFiles);
    const Installation empty = install(sandbox.filePath(QStringLiteral("empty")), prog, 0);
    const Installation big = install(sandbox.filePath(QStringLiteral("big")), prog, kFiles);

    timeOneStart(empty); // warm the file caches
    timeOneStart(big);
    std::vector<double> emptyTimes, bigTimes;
    for (int i = 0; i < kSamples; ++i) {
        emptyTimes.push_back(timeOneStart(empty));
        bigTimes.push_back(timeOneStart(big));
    }
    const double emptyTime = median(emptyTimes);
    const double bigTime = median(bigTimes);
    std::printf("\"kadrix95 walk1.dg\" to the animation program's start, median of %d runs:\n",
                kSamples);
    std::printf("  data directory with only the trial %8.1f ms\n", emptyTime);
    std::printf("  data directory with %d files  %8.1f ms\n", kFiles, bigTime);
    std::printf("  ratio %.2fx (target 1.2x)\n", bigTime / emptyTime);
    return 0;
}
