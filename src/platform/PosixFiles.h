#pragma once

#include "platform/OpenFiles.h"

#include <QByteArray>
#include <QByteArrayView>

// The file layer of the program's safe file replacement: exclusive
// creation, an advisory lock, file identity, flushing and the name
// changes. Every function that can fail answers 0 or the errno of the
// failure, so that callers can name the file in their message.

namespace kadrix {

// The calls a test can make fail (see setFaultInjector).
enum class FileCall {
    Create,
    Write,
    Flush,
    Close,
    Remove,
    Link,
    Rename,
    Exchange,
    FlushDirectory,
    Lock
};
using FaultInjector = int (*)(FileCall call);
// For tests: asked before each of those calls; a result other than 0 is
// the errno with which the call then fails without being made.
void setFaultInjector(FaultInjector injector);

// Creates a new file for writing with the given permission bits. A file,
// directory or symbolic link already under the name makes it fail with
// EEXIST: nothing is ever written through another name.
UniqueFd createNewFile(const QByteArray& path, quint32 permissions);

// Creates a file without a name in `directory`, for writing, with the
// given permission bits; it goes when its last descriptor is closed, unless
// linkOpenFile gives it a name first. ENOSYS where no file can be named
// from its descriptor; see anonymousFilesUnsupported.
UniqueFd createAnonymousFile(const QByteArray& directory, quint32 permissions);
// Whether a failed createAnonymousFile only says that the file system or
// the system cannot make such files.
bool anonymousFilesUnsupported(int errnoValue);
// A descriptor for reading the file that `fd` stands for, opened anew, so
// that `fd` itself can be closed.
UniqueFd reopenForReading(int fd);

int writeAll(int fd, const char* data, size_t size);
// Flushes a file's contents to the disk.
int flushFile(int fd);

// Writes pieces of any size to a file: small ones gathered first, large
// ones directly, so that neither many small writes nor a copy of the
// large ones is made.
class PieceWriter {
public:
    explicit PieceWriter(int fd);

    int write(QByteArrayView piece);
    int flush();

private:
    int fd_;
    QByteArray gathered_;
};

// 0 when `path` itself (not a file it links to) is the file `identity`
// names; ENOENT when nothing is there, EEXIST when something else is.
int namesFile(const QByteArray& path, FileIdentity identity);

enum class LockResult { Locked, Busy, NoLocks, Failed };
// A lock on the open file, exclusive against every other save in any
// process and on any machine that shares the file system, never waited
// for; it goes with the descriptor, so a process that dies lets it go.
// It is a lock of the open file (an OFD lock), which network file systems
// pass to their server: a write lock on a descriptor open for writing; on
// one open only for reading, a read lock that stands only when no one
// else holds any lock on the file. Where the system has no such locks, a
// whole-file flock, which holds only on this machine's file systems.
// NoLocks: the file system offers no locks at all (a share without a lock
// service); Failed: the lock could not be taken for another reason.
LockResult lockExclusively(int fd);

int removeFile(const QByteArray& path);
// `target` becomes a second name of `source`; EEXIST when it is taken.
int linkFile(const QByteArray& source, const QByteArray& target);
// `target` becomes a name of the very file the descriptor `fd` stands
// for, whatever names it has by now (a Link call). ENOENT when it has
// none left and is no file made by createAnonymousFile; ENOSYS where the
// system cannot link a file from its descriptor (no /proc).
int linkOpenFile(int fd, const QByteArray& target);
// Atomically gives `source`'s file the name `target`, replacing it.
int renameFile(const QByteArray& source, const QByteArray& target);
// Atomically swaps the files the two names stand for; both must exist.
int exchangeFiles(const QByteArray& first, const QByteArray& second);
// Whether a failed exchangeFiles only says that the file system or the
// system cannot swap names.
bool exchangeUnsupported(int errnoValue);

// Copies the whole of `source` into a new file at `target` and flushes it
// to the disk; a failure removes what was written. `copied`, when given,
// receives the new file's identity.
int copyToNewFile(int source, quint32 permissions, const QByteArray& target,
                  FileIdentity* copied = nullptr);

// Flushes a directory's entries to the disk, so that a name change in it
// survives a power cut. 0 also where the file system cannot flush
// directories at all.
int flushDirectory(const QByteArray& directory);

} // namespace kadrix
