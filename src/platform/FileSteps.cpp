#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"
#include "platform/OpenFiles.h"
#include "platform/PosixFiles.h"

#include <cerrno>

// The steps of the header save that are the same on every system, over the
// system's own ones.

namespace kadrix {

namespace {

// Pieces smaller than this are gathered before they are written.
inline constexpr qsizetype kGathered = 64 * 1024;
// What a copy reads and writes at once.
inline constexpr qint64 kCopyChunk = 256 * 1024;

int copyContents(int source, int target)
{
    QByteArray chunk(kCopyChunk, Qt::Uninitialized);
    for (qint64 offset = 0;;) {
        const qint64 count = readAt(source, chunk.data(), kCopyChunk, offset);
        if (count <= 0)
            return count < 0 ? errno : 0;
        if (const int error = writeAll(target, chunk.constData(), static_cast<size_t>(count)))
            return error;
        offset += count;
    }
}

} // namespace

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

int namesFile(const QByteArray& path, FileIdentity identity)
{
    FileStatus status;
    if (const int error = statusOfName(path, status))
        return error;
    return status.identity == identity ? 0 : EEXIST;
}

bool exchangeUnsupported(int errnoValue)
{
    return errnoValue == EINVAL || errnoValue == ENOSYS || errnoValue == ENOTSUP ||
           errnoValue == EOPNOTSUPP;
}

FileIdentity identityOf(int fd)
{
    FileStatus status;
    return statusOf(fd, status) == 0 ? status.identity : FileIdentity{};
}

// A copy that failed is removed, once it is seen still to be the copy.
int copyToNewFile(int source, quint32 permissions, const QByteArray& target, FileIdentity* copied)
{
    UniqueFd copy = createNewFile(target, permissions);
    if (!copy)
        return errno;
    const FileIdentity written = identityOf(copy.get());
    if (copied)
        *copied = written;
    int error = copyContents(source, copy.get());
    if (error == 0)
        error = flushFile(copy.get());
    if (const int closeError = copy.close(); error == 0)
        error = closeError;
    if (error != 0 && namesFile(target, written) == 0)
        removeNamedFile(decodeNativeName(target));
    return error;
}

} // namespace kadrix
