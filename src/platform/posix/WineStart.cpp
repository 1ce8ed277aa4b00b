#include "platform/WineStart.h"

#include "platform/WineRegistry.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kadrix {

namespace {

constexpr int kLogsKept = 20;
constexpr int kLinesShown = 8;
constexpr int kPrefixCreationMilliseconds = 180000;
const QString kEndLine = QStringLiteral("kadrix95: Wine ended with exit code ");

// What was last mirrored into each prefix, so that later starts skip the
// registry while the settings stay as they were.
QMutex mirroredLock;
QHash<QString, QStringList> mirrored;

struct LogFile {
    QString path;    // none when it cannot be written
    QString problem; // then why not
};

// Makes `directory` and the directories on the way to it; 0, or the errno
// of the first that cannot be made.
int makeDirectories(const QByteArray& directory)
{
    for (qsizetype slash = directory.indexOf('/', 1);; slash = directory.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? directory : directory.left(slash);
        if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST)
            return errno;
        if (slash < 0)
            return 0;
    }
}

// A new log file for one start, the oldest beyond the number kept removed;
// when it cannot be made, why not, and Wine's output goes nowhere.
LogFile newLog(const QString& directory, const QString& program)
{
    const QByteArray encoded = QFile::encodeName(directory);
    int error = makeDirectories(encoded);
    QDir logs(directory, QStringLiteral("*.log"), QDir::Time, QDir::Files);
    const QStringList old = error == 0 ? logs.entryList() : QStringList();
    for (qsizetype i = kLogsKept - 1; i < old.size(); ++i)
        logs.remove(old.at(i));
    const QString path =
        logs.filePath(QFileInfo(program).completeBaseName() + QLatin1Char('-') +
                      QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) +
                      QStringLiteral(".log"));
    if (error == 0) {
        const int file = ::open(QFile::encodeName(path).constData(),
                                O_WRONLY | O_CREAT | O_APPEND | O_NOCTTY | O_CLOEXEC, 0666);
        error = file < 0 ? errno : 0;
        if (file >= 0)
            ::close(file);
    }
    if (error == 0)
        return {path, {}};
    return {QString(), QStringLiteral("%1 cannot be written (%2)")
                           .arg(QDir::toNativeSeparators(directory),
                                QString::fromLocal8Bit(std::strerror(error)))};
}

bool runToEnd(QProcess& process, const std::atomic<bool>& cancelled)
{
    const QDeadlineTimer deadline(kPrefixCreationMilliseconds);
    while (!process.waitForFinished(200)) {
        if (process.state() == QProcess::NotRunning)
            return false;
        if (cancelled || deadline.hasExpired()) {
            process.kill();
            process.waitForFinished();
            return false;
        }
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Puts the settings into the prefix's registry with Wine's own "reg
// import", which goes through Wine's server; the first use of a prefix
// creates it. Its output goes to `output`, the start's log or nowhere.
void mirrorSettings(const WineStartJob& job, const QString& output,
                    const std::atomic<bool>& cancelled)
{
    if (job.dataDirectory.isEmpty() && job.programDirectory.isEmpty())
        return;
    const QString prefix = winePrefixOf(job.environment);
    const QList<WineDrive> drives = drivesOf(prefix);
    QStringList values;
    for (const QString& directory : {job.dataDirectory, job.programDirectory})
        values.append(directory.isEmpty() ? QString() : windowsPathOf(directory, drives));
    {
        const QMutexLocker locker(&mirroredLock);
        if (mirrored.value(prefix) == values && QFile::exists(prefix + QStringLiteral("/user.reg")))
            return;
    }
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/kadrix95-XXXXXX.reg"));
    if (!file.open() || file.write(settingsImportFile(values.at(0), values.at(1))) < 0 ||
        !file.flush())
        return;
    QProcess reg;
    reg.setProcessEnvironment(job.environment);
    reg.setStandardInputFile(QProcess::nullDevice());
    reg.setStandardOutputFile(output, QIODevice::Append);
    reg.setStandardErrorFile(output, QIODevice::Append);
    reg.start(job.wine.first(),
              job.wine.mid(1) + QStringList{QStringLiteral("reg"), QStringLiteral("import"),
                                            windowsPathOf(file.fileName(), drives)});
    if (runToEnd(reg, cancelled)) {
        const QMutexLocker locker(&mirroredLock);
        mirrored.insert(prefix, values);
    }
}

// Waits until `deadline` for the process to end; true when it did.
bool endsBefore(qint64 processId, const QDeadlineTimer& deadline,
                const std::atomic<bool>& cancelled)
{
    const int handle = int(::syscall(SYS_pidfd_open, pid_t(processId), 0));
    bool ended = false;
    while (!ended && !cancelled && !deadline.hasExpired()) {
        if (handle >= 0) {
            pollfd watched{handle, POLLIN, 0};
            ended = ::poll(&watched, 1, 100) > 0;
        } else {
            // Without process handles the process is looked for by its id.
            ended = ::kill(pid_t(processId), 0) != 0;
            QThread::msleep(100);
        }
    }
    if (handle >= 0)
        ::close(handle);
    return ended;
}

QString lastLines(const QString& logPath, int* exitCode)
{
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    if (log.size() > 65536)
        log.seek(log.size() - 65536);
    QStringList lines =
        QString::fromLocal8Bit(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!lines.isEmpty() && lines.last().startsWith(kEndLine))
        *exitCode = lines.takeLast().mid(kEndLine.size()).toInt();
    return lines.mid(qMax(0, int(lines.size()) - kLinesShown)).join(QLatin1Char('\n'));
}

} // namespace

ProgramEnd wineProgramEnd(const WineStartOutcome& outcome, const std::atomic<bool>& cancelled)
{
    if (outcome.processId == 0)
        return {ProgramEnd::Kind::NotStarted, 0, outcome.reason};
    if (!outcome.ended && !endsBefore(outcome.processId, QDeadlineTimer::Forever, cancelled))
        return {};
    // Without a log, Wine's exit code is not known.
    int exitCode = -1;
    if (!outcome.logPath.isEmpty())
        lastLines(outcome.logPath, &exitCode);
    if (exitCode < 0)
        return {};
    return {ProgramEnd::Kind::Exited, exitCode, outcome.logPath};
}

QString wineLogDirectory(const QProcessEnvironment& environment)
{
    QString state = environment.value(QStringLiteral("XDG_STATE_HOME"));
    if (!QDir::isAbsolutePath(state))
        state = environment.value(QStringLiteral("HOME"), QDir::homePath()) +
                QStringLiteral("/.local/state");
    return state + QStringLiteral("/kadrix95");
}

WineStartOutcome runWineStart(const WineStartJob& job, const std::atomic<bool>& cancelled)
{
    WineStartOutcome outcome;
    const LogFile log = newLog(job.logDirectory, job.programAndArguments.value(0));
    outcome.logPath = log.path;
    outcome.logProblem = log.problem;
    // Without a log the program starts all the same, its output dropped.
    const QString output = log.path.isEmpty() ? QProcess::nullDevice() : log.path;
    mirrorSettings(job, output, cancelled);

    // A shell waits for Wine and notes its exit code at the end of the log;
    // the command reaches it as its positional parameters, never as text.
    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments(
        QStringList{QStringLiteral("-c"),
                    QStringLiteral("\"$@\"; echo \"") + kEndLine + QStringLiteral("$?\""),
                    QStringLiteral("wine")} +
        job.wine + job.programAndArguments);
    process.setWorkingDirectory(job.workingDirectory);
    process.setProcessEnvironment(job.environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(output, QIODevice::Append);
    process.setStandardErrorFile(output, QIODevice::Append);
    qint64 processId = 0;
    if (!process.startDetached(&processId)) {
        outcome.failed = true;
        outcome.reason = process.errorString();
        return outcome;
    }
    // Without a log, Wine's exit code is not known: an early end says nothing.
    outcome.processId = processId;
    if (log.path.isEmpty() ||
        !endsBefore(processId, QDeadlineTimer(kWineWatchMilliseconds), cancelled))
        return outcome;
    outcome.ended = true;
    int exitCode = 0;
    const QString lines = lastLines(outcome.logPath, &exitCode);
    if (exitCode != 0) {
        outcome.failed = true;
        outcome.reason = QStringLiteral("Wine ended at once, with exit code %1.").arg(exitCode);
        outcome.lastLines = lines;
    }
    return outcome;
}

} // namespace kadrix
