#include "platform/PosixFiles.h"

#include "dgoptions/SaveErrors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kadrix {

namespace {

inline constexpr size_t kCopyChunk = 256 * 1024;
inline constexpr qsizetype kGathered = 64 * 1024;

} // namespace

int UniqueFd::close()
{
    if (fd_ < 0)
        return 0;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
}

UniqueFd createNewFile(const QByteArray& path, mode_t mode)
{
    UniqueFd file(
        ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    if (file)
        ::fchmod(file.get(), mode); // the process's umask must not change them
    return file;
}

ssize_t readSome(int fd, char* buffer, size_t size)
{
    ssize_t count = 0;
    do {
        count = ::read(fd, buffer, size);
    } while (count < 0 && errno == EINTR);
    return count;
}

int writeAll(int fd, const char* data, size_t size)
{
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

PieceWriter::PieceWriter(int fd)
    : fd_(fd)
{
    gathered_.reserve(kGathered);
}

int PieceWriter::write(QByteArrayView piece)
{
    if (gathered_.size() + piece.size() > kGathered) {
        if (const int error = flush())
            return error;
    }
    if (piece.size() >= kGathered)
        return writeAll(fd_, piece.data(), static_cast<size_t>(piece.size()));
    gathered_.append(piece);
    return 0;
}

int PieceWriter::flush()
{
    const int error = writeAll(fd_, gathered_.constData(), static_cast<size_t>(gathered_.size()));
    gathered_.resize(0);
    return error;
}

namespace {

int copyContents(int source, int target)
{
    QByteArray chunk(kCopyChunk, Qt::Uninitialized);
    for (off_t offset = 0;;) {
        const ssize_t count = ::pread(source, chunk.data(), kCopyChunk, offset);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return count < 0 ? errno : 0;
        if (const int error = writeAll(target, chunk.constData(), static_cast<size_t>(count)))
            return error;
        offset += count;
    }
}

} // namespace

FileError copyToNewFile(int source, mode_t mode, const QByteArray& target)
{
    UniqueFd copy = createNewFile(target, mode);
    if (!copy)
        return saveErrorFromErrno(errno);
    int error = copyContents(source, copy.get());
    if (error == 0 && ::fsync(copy.get()) != 0)
        error = errno;
    if (const int closeError = copy.close(); error == 0)
        error = closeError;
    if (error == 0)
        return {};
    ::unlink(target.constData());
    return saveErrorFromErrno(error);
}

void syncDirectory(const QByteArray& directory)
{
    UniqueFd entries(::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (entries)
        ::fsync(entries.get());
}

} // namespace kadrix
