#include "platform/DetachedStart.h"

#include "platform/ChildProcess.h"
#include "platform/NativeNames.h"

#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace kadrix {

namespace {

// Everything the child needs, made before the fork: after it, the child of
// a program with threads may only make system calls.
struct PreparedStart {
    QByteArray program;
    std::vector<QByteArray> arguments;
    std::vector<char*> argv;
    QByteArray directory;
};

PreparedStart prepare(const QString& program, const QStringList& arguments,
                      const QString& workingDirectory)
{
    PreparedStart start;
    const QString path =
        program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    start.program = encodeNativeName(path.isEmpty() ? program : path);
    start.arguments.push_back(start.program);
    for (const QString& argument : arguments)
        start.arguments.push_back(encodeNativeName(argument));
    for (QByteArray& argument : start.arguments)
        start.argv.push_back(argument.data());
    start.argv.push_back(nullptr);
    start.directory = encodeNativeName(workingDirectory);
    return start;
}

void writeAllOrExit(int fd, const void* data, size_t size)
{
    if (::write(fd, data, size) != static_cast<ssize_t>(size))
        ::_exit(127);
}

// In the grandchild: the program, or its errno down the pipe.
[[noreturn]] void runProgram(const PreparedStart& start, int report)
{
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::signal(SIGPIPE, SIG_DFL);
    const int input = ::open("/dev/null", O_RDONLY);
    if (input >= 0 && input != STDIN_FILENO) {
        ::dup2(input, STDIN_FILENO);
        ::close(input);
    }
    if (!start.directory.isEmpty() && ::chdir(start.directory.constData()) != 0) {
        const int error = errno;
        writeAllOrExit(report, &error, sizeof error);
        ::_exit(127);
    }
    ::execve(start.program.constData(), start.argv.data(), environ);
    const int error = errno;
    writeAllOrExit(report, &error, sizeof error);
    ::_exit(127);
}

ssize_t readFully(int fd, void* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t count = ::read(fd, static_cast<char*>(data) + done, size - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        done += static_cast<size_t>(count);
    }
    return static_cast<ssize_t>(done);
}

// Both ends of a pipe that no started program inherits, closed when it goes.
struct Pipe {
    int read = -1;
    int write = -1;
    Pipe()
    {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) == 0)
            read = ends[0], write = ends[1];
    }
    ~Pipe()
    {
        if (read >= 0)
            ::close(read);
        closeWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    explicit operator bool() const { return read >= 0; }
    void closeWrite()
    {
        if (write >= 0)
            ::close(std::exchange(write, -1));
    }
};

void (*beforeIdReported)(qint64 processId) = nullptr;

// In the child in between, for a watched start: keeps only the report of
// the end, waits for the program and writes its wait status there.
[[noreturn]] void reportEnd(pid_t program, int report)
{
    ::signal(SIGPIPE, SIG_IGN);
    closeAllBut(report, -1);
    int status = 0;
    while (::waitpid(program, &status, 0) < 0 && errno == EINTR) {
    }
    writeAll(report, &status, sizeof status);
    ::_exit(0);
}

QString describeErrno(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

// Reports come down two pipes, so that the program's id and an error of
// its start can never be read one for the other: the child in between
// writes the id to one; the program writes the errno of a failed chdir or
// execve to the other, which closes by itself when execve succeeds.
DetachedStart startDetached(const QString& program, const QStringList& arguments,
                            const QString& workingDirectory, StartWatch watch)
{
    const PreparedStart start = prepare(program, arguments, workingDirectory);
    const bool watched = watch == StartWatch::Yes;
    Pipe idReport, errorReport, endReport;
    if (!idReport || !errorReport || (watched && !endReport))
        return {0, describeErrno(errno)};
    // Started from a child that ends at once (or, watched, when the program
    // does), the program belongs to no one here.
    const pid_t middle = ::fork();
    if (middle == 0) {
        ::close(idReport.read);
        ::close(errorReport.read);
        ::setsid();
        // Its own children are waited for by the watch alone.
        ::signal(SIGCHLD, SIG_DFL);
        const pid_t program = ::fork();
        if (program == 0)
            runProgram(start, errorReport.write);
        const qint64 id = program > 0 ? program : -qint64(errno);
        ::close(errorReport.write);
        if (beforeIdReported != nullptr && program > 0)
            beforeIdReported(program);
        writeAllOrExit(idReport.write, &id, sizeof id);
        if (watched && program > 0)
            reportEnd(program, endReport.write);
        ::_exit(program > 0 ? 0 : 127);
    }
    const int forkError = errno;
    idReport.closeWrite();
    errorReport.closeWrite();
    endReport.closeWrite();
    if (middle < 0)
        return {0, describeErrno(forkError)};
    qint64 id = 0;
    const bool reported = readFully(idReport.read, &id, sizeof id) == sizeof id;
    int error = 0;
    const bool failed = readFully(errorReport.read, &error, sizeof error) == sizeof error;
    // Unwatched, or when nothing runs to be watched, the child in between
    // ends at once.
    if (!watched || !reported || id <= 0 || failed) {
        while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    if (!reported || id <= 0)
        return {0, describeErrno(reported ? int(-id) : EAGAIN)};
    if (failed)
        return {0, describeErrno(error)};
    if (!watched)
        return {id, {}};
    return {id, {}, std::exchange(endReport.read, -1), middle};
}

void setBeforeIdReported(void (*hook)(qint64 processId))
{
    beforeIdReported = hook;
}

} // namespace kadrix
