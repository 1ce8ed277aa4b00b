#include "platform/PosixFiles.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kadrix {

namespace {

FaultInjector faultInjector = nullptr;

int injectedFault(FileCall call)
{
    return faultInjector ? faultInjector(call) : 0;
}

// 0, or the errno of a call that answered -1, after the injected fault.
template <typename Call>
int checked(FileCall call, Call&& systemCall)
{
    if (const int fault = injectedFault(call))
        return fault;
    return systemCall() == 0 ? 0 : errno;
}

// The name under which the system shows the file a descriptor stands for.
QByteArray descriptorPath(int fd)
{
    return "/proc/self/fd/" + QByteArray::number(fd);
}

bool descriptorPathsExist()
{
    return ::access("/proc/self/fd", F_OK) == 0;
}

int swapNames(const char* first, const char* second)
{
#ifdef RENAME_EXCHANGE
    return ::renameat2(AT_FDCWD, first, AT_FDCWD, second, RENAME_EXCHANGE);
#elif defined(SYS_renameat2)
    return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, first, AT_FDCWD, second, 1 << 1));
#else
    errno = ENOSYS;
    return -1;
#endif
}

} // namespace

void setFaultInjector(FaultInjector injector)
{
    faultInjector = injector;
}

// Here rather than beside the rest of OpenFiles.h: a test may make it fail.
int UniqueFd::close()
{
    if (fd_ < 0)
        return 0;
    const int fault = injectedFault(FileCall::Close);
    const int result = ::close(std::exchange(fd_, -1));
    if (fault != 0)
        return fault;
    return result == 0 ? 0 : errno;
}

UniqueFd createNewFile(const QByteArray& path, quint32 permissions)
{
    if (const int fault = injectedFault(FileCall::Create)) {
        errno = fault;
        return UniqueFd();
    }
    UniqueFd file(::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                         mode_t(permissions)));
    if (file)
        ::fchmod(file.get(), mode_t(permissions)); // the process's umask must not change them
    return file;
}

UniqueFd createAnonymousFile(const QByteArray& directory, quint32 permissions)
{
    if (const int fault = injectedFault(FileCall::Create)) {
        errno = fault;
        return UniqueFd();
    }
    if (!descriptorPathsExist()) {
        errno = ENOSYS; // it could never be given a name
        return UniqueFd();
    }
    UniqueFd file(
        ::open(directory.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode_t(permissions)));
    if (file)
        ::fchmod(file.get(), mode_t(permissions));
    return file;
}

bool anonymousFilesUnsupported(int errnoValue)
{
    return errnoValue == EISDIR || errnoValue == EOPNOTSUPP || errnoValue == ENOTSUP ||
           errnoValue == EINVAL || errnoValue == ENOSYS;
}

UniqueFd reopenForReading(int fd)
{
    return UniqueFd(::open(descriptorPath(fd).constData(), O_RDONLY | O_CLOEXEC));
}

int writeAll(int fd, const char* data, size_t size)
{
    if (const int fault = injectedFault(FileCall::Write))
        return fault;
    const char* at = data;
    size_t left = size;
    while (left > 0) {
        const ssize_t written = ::write(fd, at, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        at += written;
        left -= static_cast<size_t>(written);
    }
    return 0;
}

int flushFile(int fd)
{
    return checked(FileCall::Flush, [fd] { return ::fsync(fd); });
}

namespace {

struct flock wholeFile(short type)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET; // from the start to the end, however long it grows
    return lock;
}

// 0, or the errno of a failed lock of the open file.
int lockOpenFile(int fd, short type)
{
    if (const int fault = injectedFault(FileCall::Lock))
        return fault;
    struct flock lock = wholeFile(type);
    int result = 0;
    do {
        result = ::fcntl(fd, F_OFD_SETLK, &lock);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

// 0 when no one but this open file holds a lock on the file, EAGAIN when
// someone does, else the errno of the failed question.
int lockedByOthers(int fd)
{
    struct flock lock = wholeFile(F_WRLCK);
    if (::fcntl(fd, F_OFD_GETLK, &lock) != 0)
        return errno;
    return lock.l_type == F_UNLCK ? 0 : EAGAIN;
}

LockResult lockResultOf(int errnoValue)
{
    if (errnoValue == EAGAIN || errnoValue == EACCES || errnoValue == EWOULDBLOCK)
        return LockResult::Busy;
    const bool noLocks = errnoValue == ENOLCK || errnoValue == ENOSYS || errnoValue == EOPNOTSUPP ||
                         errnoValue == ENOTSUP;
    return noLocks ? LockResult::NoLocks : LockResult::Failed;
}

// A whole-file flock, where the system has no locks of the open file.
int flockWholeFile(int fd)
{
    int result = 0;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

} // namespace

LockResult lockExclusively(int fd)
{
    const int access = ::fcntl(fd, F_GETFL) & O_ACCMODE;
    const bool writable = access == O_WRONLY || access == O_RDWR;
    int result = lockOpenFile(fd, writable ? F_WRLCK : F_RDLCK);
    if (result == EINVAL) // a system without locks of the open file
        result = flockWholeFile(fd);
    else if (result == 0 && !writable && (result = lockedByOthers(fd)) != 0) {
        // Another reader may have taken its read lock at the same moment;
        // then both find the other's and neither goes on.
        struct flock unlock = wholeFile(F_UNLCK);
        ::fcntl(fd, F_OFD_SETLK, &unlock);
    }
    return result == 0 ? LockResult::Locked : lockResultOf(result);
}

int removeFile(const QByteArray& path)
{
    return checked(FileCall::Remove, [&] { return ::unlink(path.constData()); });
}

int linkFile(const QByteArray& source, const QByteArray& target)
{
    return checked(FileCall::Link, [&] { return ::link(source.constData(), target.constData()); });
}

int linkOpenFile(int fd, const QByteArray& target)
{
    const int error = checked(FileCall::Link, [&] {
        return ::linkat(AT_FDCWD, descriptorPath(fd).constData(), AT_FDCWD, target.constData(),
                        AT_SYMLINK_FOLLOW);
    });
    return error == ENOENT && !descriptorPathsExist() ? ENOSYS : error;
}

int renameFile(const QByteArray& source, const QByteArray& target)
{
    return checked(FileCall::Rename,
                   [&] { return ::rename(source.constData(), target.constData()); });
}

int exchangeFiles(const QByteArray& first, const QByteArray& second)
{
    return checked(FileCall::Exchange,
                   [&] { return swapNames(first.constData(), second.constData()); });
}

namespace {

// Errors of a directory flush that only say the file system has none.
bool cannotFlushDirectories(int error)
{
    return error == EINVAL || error == ENOTSUP || error == EOPNOTSUPP || error == EROFS;
}

} // namespace

int flushDirectory(const QByteArray& directory)
{
    UniqueFd entries(::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    int error = entries ? 0 : errno;
    if (error == 0)
        error = checked(FileCall::FlushDirectory, [&] { return ::fsync(entries.get()); });
    return cannotFlushDirectories(error) ? 0 : error;
}

} // namespace kadrix
