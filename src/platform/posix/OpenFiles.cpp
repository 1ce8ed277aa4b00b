#include "platform/OpenFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kadrix {

namespace {

FileKind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return FileKind::File;
    if (S_ISDIR(mode))
        return FileKind::Directory;
    return S_ISLNK(mode) ? FileKind::Link : FileKind::Other;
}

FileStatus statusFrom(const struct stat& info)
{
    FileStatus status;
    status.identity = {quint64(info.st_dev), quint64(info.st_ino)};
    status.kind = kindOf(info.st_mode);
    status.size = qint64(info.st_size);
    status.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    status.permissions = quint32(info.st_mode & 07777);
    return status;
}

template <typename Call>
int statusBy(Call&& systemCall, FileStatus& status)
{
    struct stat info {};
    if (systemCall(info) != 0)
        return errno;
    status = statusFrom(info);
    return 0;
}

UniqueFd openWithoutWaiting(const QByteArray& path, int access, OpenLinks links)
{
    const int noFollow = links == OpenLinks::Refuse ? O_NOFOLLOW : 0;
    return UniqueFd(
        ::open(path.constData(), access | noFollow | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
}

} // namespace

int statusOf(int fd, FileStatus& status)
{
    return statusBy([fd](struct stat& info) { return ::fstat(fd, &info); }, status);
}

int statusOfPath(const QByteArray& path, FileStatus& status)
{
    return statusBy([&](struct stat& info) { return ::stat(path.constData(), &info); }, status);
}

int statusOfName(const QByteArray& path, FileStatus& status)
{
    return statusBy([&](struct stat& info) { return ::lstat(path.constData(), &info); }, status);
}

int openRegular(const QByteArray& path, OpenAccess access, OpenLinks links, UniqueFd& file,
                FileStatus& status)
{
    if (const int error = statusOfPath(path, status))
        return error;
    if (status.kind != FileKind::File)
        return EISDIR;
    if (access == OpenAccess::ReadWriteWherePossible)
        file = openWithoutWaiting(path, O_RDWR, links);
    if (!file)
        file = openWithoutWaiting(path, O_RDONLY, links);
    if (!file)
        return errno;
    if (const int error = statusOf(file.get(), status)) {
        file = UniqueFd();
        return error;
    }
    if (status.kind != FileKind::File) {
        file = UniqueFd();
        return EISDIR;
    }
    ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
    return 0;
}

bool outOfFileHandles(int errnoValue)
{
    return errnoValue == EMFILE || errnoValue == ENFILE;
}

UniqueFd openNameForReading(const QByteArray& path)
{
    return UniqueFd(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
}

UniqueFd duplicateFile(int fd)
{
    return UniqueFd(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
}

qint64 readSome(int fd, char* buffer, qint64 size)
{
    ssize_t count = 0;
    do {
        count = ::read(fd, buffer, size_t(size));
    } while (count < 0 && errno == EINTR);
    return count;
}

qint64 readAt(int fd, char* buffer, qint64 size, qint64 offset)
{
    ssize_t count = 0;
    do {
        count = ::pread(fd, buffer, size_t(size), off_t(offset));
    } while (count < 0 && errno == EINTR);
    return count;
}

} // namespace kadrix
