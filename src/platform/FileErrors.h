#pragma once

#include <QString>

namespace kadrix {

// Error numbers of the classic file functions. The program's messages and
// callers rely on them: 53, above all, means that the file does not exist.
enum FileErrorNumber : int {
    kNoError = 0,
    kBadFileName = 52,
    kFileNotFound = 53,
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

// Opens the file for reading and closes it again at once; nothing is read.
// The path is taken as it is: callers resolve letter case first.
FileError testOpenForReading(const QString& path);

// Whether `path` is a directory that the process could make current.
FileError checkEnterable(const QString& path);

// Makes `path` the process's current directory.
FileError changeCurrentDirectory(const QString& path);

} // namespace kadrix
