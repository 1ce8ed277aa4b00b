#include "platform/FileHead.h"

#include "platform/ChildProcess.h"
#include "platform/DirectoryScan.h"
#include "platform/NativeNames.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kadrix {

namespace {

// What one reading found, as plain data: the child hands it back through
// its pipe, followed by the `count` bytes read.
struct HeadAnswer {
    int readable = 0;
    int unchanged = 0;
    int whole = 0;
    FileStamp stamp;
    qint64 count = 0;
};

ssize_t readRetrying(int fd, char* buffer, size_t size)
{
    ssize_t count = 0;
    do
        count = ::read(fd, buffer, size);
    while (count < 0 && errno == EINTR);
    return count;
}

// System calls alone, into memory given beforehand, so that a child may
// run it right after the fork. Opened without waiting, and read only when
// fstat() tells a regular file.
void readHead(const char* path, char* buffer, size_t limit, const FileStamp& known,
              HeadAnswer& answer)
{
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        answer.stamp = {status.st_size, status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
        answer.unchanged = answer.stamp == known;
        answer.readable = 1;
        while (!answer.unchanged && answer.count < qint64(limit)) {
            const ssize_t count = readRetrying(fd, buffer + answer.count, limit - answer.count);
            answer.readable = count >= 0;
            answer.whole = count == 0;
            if (count <= 0)
                break;
            answer.count += count;
        }
        if (answer.readable && !answer.unchanged && !answer.whole) {
            char probe = 0; // the file may end right at the limit
            answer.whole = readRetrying(fd, &probe, 1) == 0;
        }
    }
    ::close(fd);
}

void readHeadInChild(const QByteArray& path, QByteArray& buffer, const FileStamp& known,
                     HeadAnswer& answer)
{
    ChildQuestion child([&](int pipe) {
        readHead(path.constData(), buffer.data(), size_t(buffer.size()), known, answer);
        if (writeAll(pipe, &answer, sizeof answer))
            writeAll(pipe, buffer.constData(), size_t(answer.count));
    });
    HeadAnswer received;
    if (!child.asked() || child.readExactly(&received, sizeof received) != sizeof received ||
        received.count < 0 || received.count > buffer.size() ||
        child.readExactly(buffer.data(), size_t(received.count)) != size_t(received.count))
        return;
    answer = received;
}

QByteArray directoryOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

} // namespace

std::optional<FileHead> readFileHead(const QString& path, qsizetype limit, FileStamp known)
{
    const QByteArray native = encodeNativeName(path);
    if (native.isEmpty() || native.contains('\0') || limit < 0)
        return std::nullopt;
    QByteArray buffer(limit, Qt::Uninitialized);
    HeadAnswer answer;
    if (isOnLocalFileSystem(directoryOf(native)))
        readHead(native.constData(), buffer.data(), size_t(limit), known, answer);
    else
        readHeadInChild(native, buffer, known, answer);
    if (!answer.readable)
        return std::nullopt;
    buffer.truncate(answer.count);
    return FileHead{answer.stamp, buffer, answer.whole != 0, answer.unchanged != 0};
}

} // namespace kadrix
