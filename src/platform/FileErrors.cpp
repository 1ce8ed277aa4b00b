#include "platform/FileErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

bool parentDirectoryExists(const QFileInfo& info)
{
    return QFileInfo(info.absolutePath()).isDir();
}

} // namespace

FileError testOpenForReading(const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return fileError(kBadFileName);
    const QFileInfo info(path);
    if (!info.exists())
        return fileError(parentDirectoryExists(info) ? kFileNotFound : kPathNotFound);
    if (info.isDir())
        return fileError(kPathFileAccessError);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fileError(info.isReadable() ? kPathFileAccessError : kPermissionDenied);
    file.close();
    return {};
}

FileError checkEnterable(const QString& path)
{
    if (path.isEmpty())
        return fileError(kPathNotFound);
    const QFileInfo info(path);
    if (!info.isDir())
        return fileError(kPathNotFound);
    if (!info.isExecutable())
        return fileError(kPermissionDenied);
    return {};
}

FileError changeCurrentDirectory(const QString& path)
{
    if (const FileError error = checkEnterable(path))
        return error;
    if (!QDir::setCurrent(path))
        return fileError(QFileInfo(path).isExecutable() ? kPathFileAccessError : kPermissionDenied);
    return {};
}

} // namespace kadrix
