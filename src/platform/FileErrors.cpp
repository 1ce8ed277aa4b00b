#include "platform/FileErrors.h"

#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"
#include "platform/OpenFiles.h"

#include <QFile>

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
    UniqueFd opened;
    FileStatus status;
    if (openRegular(encodeNativeName(path), OpenAccess::Read, OpenLinks::Follow, opened, status))
        return openFailure(path);
    if (!file.open(opened.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return openFailure(path);
    opened.release();
    return {};
}

FileError testOpenForReading(const QString& path)
{
    QFile file;
    return openRegularFile(file, path);
}

bool hasReadOnlyAttribute(const QString& path)
{
    FileStatus status;
    if (statusOfPath(encodeNativeName(path), status) != 0)
        return true;
    return (status.permissions & 0222) == 0; // no write bit for owner, group or others
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
