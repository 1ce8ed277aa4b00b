#include "platform/OpenFiles.h"
#include "platform/PosixFiles.h"

#include <cerrno>

// The steps of the header save that are the same on every system, over the
// system's own ones.

namespace kadrix {

namespace {

// Pieces smaller than this are gathered before they are written.
inline constexpr qsizetype kGathered = 64 * 1024;

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

} // namespace kadrix
