#include "platform/FileErrors.h"

#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"

#include <QFile>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kadrix {

QString describeFileError(int number)
{
    switch (number) {
    case kNoError:
        return {};
    case kBadFileName:
        return QStringLiteral("Bad file name or number");
    case kFileNotFound:
        return QStringLiteral("File not found");
    case kDeviceUnavailable:
        return QStringLiteral("Device unavailable");
    case kPermissionDenied:
        return QStringLiteral("Permission denied");
    case kPathNotFound:
        return QStringLiteral("Path not found");
    default:
        return QStringLiteral("Path/File access error");
    }
}

namespace {

FileError fileError(int number)
{
    return FileError{number, describeFileError(number)};
}

bool parentDirectoryExists(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString parent = slash < 0    ? QStringLiteral(".")
                           : slash == 0 ? QStringLiteral("/")
                                        : path.left(slash);
    return kindOfPath(parent) == PathKind::Directory;
}

FileError openFailure(const QString& path)
{
    return fileError(mayRead(path) ? kPathFileAccessError : kPermissionDenied);
}

#ifndef Q_OS_WIN

// Opened without waiting, then kept only when fstat() tells a regular
// file: a test made before the open could be outrun by a rename.
int openRegularDescriptor(const QString& path)
{
    const int descriptor =
        ::open(encodeNativeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        return -1;
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return -1;
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    return descriptor;
}

#endif

} // namespace

FileError openRegularFile(QFile& file, const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return fileError(kBadFileName);
    const PathKind kind = kindOfPath(path);
    if (kind == PathKind::Missing)
        return fileError(parentDirectoryExists(path) ? kFileNotFound : kPathNotFound);
    if (kind != PathKind::File)
        return fileError(kPathFileAccessError);
    file.setFileName(path);
#ifdef Q_OS_WIN
    if (!file.open(QIODevice::ReadOnly))
        return openFailure(path);
#else
    const int descriptor = openRegularDescriptor(path);
    if (descriptor < 0)
        return openFailure(path);
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return openFailure(path);
    }
#endif
    return {};
}

FileError testOpenForReading(const QString& path)
{
    QFile file;
    return openRegularFile(file, path);
}

bool hasReadOnlyAttribute(const QString& path)
{
    struct stat status {};
    if (::stat(encodeNativeName(path).constData(), &status) != 0)
        return true;
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

FileError checkEnterable(const QString& path)
{
    if (path.isEmpty())
        return fileError(kPathNotFound);
    if (kindOfPath(path) != PathKind::Directory)
        return fileError(kPathNotFound);
    if (!mayEnter(path))
        return fileError(kPermissionDenied);
    return {};
}

FileError changeCurrentDirectory(const QString& path)
{
    if (const FileError error = checkEnterable(path))
        return error;
    if (enterDirectory(path) != 0)
        return fileError(mayEnter(path) ? kPathFileAccessError : kPermissionDenied);
    return {};
}

} // namespace kadrix
