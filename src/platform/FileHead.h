#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kadrix {

// What tells one version of a file from the next: its size and the time it
// was last written.
struct FileStamp {
    qint64 size = -1;
    qint64 modifiedSeconds = 0; // since the epoch
    qint64 modifiedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};

// The first bytes of a file, with the stamp of the file they were read
// from. `bytes` is empty when the file still has the stamp the caller knew.
struct FileHead {
    FileStamp stamp;
    QByteArray bytes;
    bool whole = false;     // `bytes` is the whole file
    bool unchanged = false; // the file still has the stamp the caller knew
};

// Reads at most `limit` bytes from the start of the regular file `path`
// (its bytes as NativeNames.h holds them), unless its stamp is still
// `known`. Nothing when `path` names no regular file or cannot be read: a
// pipe or a device is never opened for good, and never waited on. On a file
// system that may wait on a server, a child process asks (see
// ChildProcess.h): a share that has stopped answering holds that child and
// the calling thread, which the end of the program leaves behind, and
// nothing else.
std::optional<FileHead> readFileHead(const QString& path, qsizetype limit, FileStamp known = {});

} // namespace kadrix
