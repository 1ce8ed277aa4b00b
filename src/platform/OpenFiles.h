#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <utility>

// Open files and what the system tells of them: the one way the program
// opens a file it is to read without ever waiting on it, reads at an
// offset, and the identity, kind, size and time of a file. Paths are exact
// (see NativeNames.h); a function that can fail answers 0 or the errno of
// the failure, so that callers can name the file in their message.

namespace kadrix {

// An open file that is closed when it goes.
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
    // Closes the file; the errno of a failed close, else 0.
    int close();
    // Hands the file to a new owner, which closes it.
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// Which file an open file or a name stands for.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

enum class FileKind { File, Directory, Link, Other };

// What the system tells of a file.
struct FileStatus {
    FileIdentity identity;
    FileKind kind = FileKind::Other;
    qint64 size = 0;
    qint64 modifiedNs = 0;   // the last change of its contents, in ns since 1970
    quint32 permissions = 0; // the permission bits, 07777 at most
};

// The status of an open file, of the file a name leads to, and of the
// name itself (a symbolic link not followed).
int statusOf(int fd, FileStatus& status);
int statusOfPath(const QByteArray& path, FileStatus& status);
int statusOfName(const QByteArray& path, FileStatus& status);

// Which file `fd` stands for; nothing when the system cannot tell.
FileIdentity identityOf(int fd);

enum class OpenAccess {
    Read,
    // For writing too where the process may write it, else for reading.
    ReadWriteWherePossible,
};
enum class OpenLinks { Follow, Refuse };

// Opens `path` only when it is a regular file, and never waits: a pipe
// with no writer would hold the caller for good, and a device is not even
// opened. The file is looked at before the open and the open file again
// after it, since a rename could come in between. ENOENT or ENOTDIR: there
// is nothing under the name; EISDIR: it is no regular file; ELOOP: it is a
// symbolic link and links are refused. `status` receives the open file's.
int openRegular(const QByteArray& path, OpenAccess access, OpenLinks links, UniqueFd& file,
                FileStatus& status);
// Whether an open failed only because the system has no file handle left.
bool outOfFileHandles(int errnoValue);

// Opens whatever `path` itself names for reading, never through a link.
UniqueFd openNameForReading(const QByteArray& path);
// A second handle of the same open file, which may be closed on its own.
UniqueFd duplicateFile(int fd);

// Reads up to `size` bytes; the count, 0 at the end, or -1 with errno set.
qint64 readSome(int fd, char* buffer, qint64 size);
// The same from `offset`, leaving the file's position alone, so that
// several threads may read one file.
qint64 readAt(int fd, char* buffer, qint64 size, qint64 offset);

} // namespace kadrix
