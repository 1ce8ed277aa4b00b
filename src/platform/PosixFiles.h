#pragma once

#include "platform/FileErrors.h"

#include <QByteArray>
#include <QByteArrayView>

#include <sys/types.h>
#include <utility>

namespace kadrix {

// A file descriptor that is closed when it goes.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1)
        : fd_(fd)
    {}
    ~UniqueFd() { close(); }
    UniqueFd(UniqueFd&& other) noexcept
        : fd_(std::exchange(other.fd_, -1))
    {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        close();
        fd_ = std::exchange(other.fd_, -1);
        return *this;
    }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes the descriptor; the errno of a failed close, else 0.
    int close();

private:
    int fd_;
};

// Creates a new file for writing with the given permission bits. A file,
// directory or symbolic link already under the name makes it fail: nothing
// is ever written through another name.
UniqueFd createNewFile(const QByteArray& path, mode_t mode);

// Reads up to `size` bytes; the count, 0 at the end, or -1 with errno set.
ssize_t readSome(int fd, char* buffer, size_t size);
// Writes all `size` bytes; 0, or the errno of the failure.
int writeAll(int fd, const char* data, size_t size);

// Writes pieces of any size to a file: small ones gathered first, large
// ones directly, so that neither many small writes nor a copy of the
// large ones is made.
class PieceWriter {
public:
    explicit PieceWriter(int fd);

    // 0, or the errno of the failure.
    int write(QByteArrayView piece);
    int flush();

private:
    int fd_;
    QByteArray gathered_;
};

// Copies the whole of `source` into a new file at `target` and flushes it
// to the disk; a failure removes what was written.
FileError copyToNewFile(int source, mode_t mode, const QByteArray& target);

// Flushes a directory's entries to the disk, so that a rename in it
// survives a power cut. Best effort: not every file system can.
void syncDirectory(const QByteArray& directory);

} // namespace kadrix
