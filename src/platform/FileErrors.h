#pragma once

#include <QString>

class QFile;

namespace kadrix {

// Error numbers of the classic file functions. The program's messages and
// callers rely on them: 53, above all, means that the file does not exist.
enum FileErrorNumber : int {
    kNoError = 0,
    kBadFileName = 52,
    kFileNotFound = 53,
    kDeviceIoError = 57,
    kFileAlreadyExists = 58,
    kDiskFull = 61,
    kDeviceUnavailable = 68,
    kPermissionDenied = 70,
    kPathFileAccessError = 75,
    kPathNotFound = 76,
};

struct FileError {
    int number = kNoError;
    QString description;

    explicit operator bool() const { return number != kNoError; }
};

QString describeFileError(int number);

// The classic error number a failed system call reports, from the system's
// own error number (errno; the Windows twins turn theirs into errno too).
int classicNumberOfSystemError(int systemError);

// Opens the file for reading and closes it again at once; nothing is read.
// The path is taken as it is: callers resolve letter case first.
FileError testOpenForReading(const QString& path);

// Opens `path` into `file` for reading, only when it is a regular file. A
// pipe, socket or device counts as a file that cannot be opened, and the
// open never waits: a pipe with no writer would hold the window for good.
FileError openRegularFile(QFile& file, const QString& path);

// The classic read-only attribute: no one has permission to write the file,
// whoever the process runs as (root may write anything, but a file made
// read-only by its owner stays protected from the program's deletions).
bool hasReadOnlyAttribute(const QString& path);

// Whether `path` is a directory that the process could make current.
FileError checkEnterable(const QString& path);

// Makes `path` the process's current directory.
FileError changeCurrentDirectory(const QString& path);

} // namespace kadrix
