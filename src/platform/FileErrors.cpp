#include "platform/FileErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

FileError openFailure(const QFileInfo& info)
{
    return fileError(info.isReadable() ? kPathFileAccessError : kPermissionDenied);
}

#ifndef Q_OS_WIN

// Opened without waiting, then kept only when fstat() tells a regular
// file: a test made before the open could be outrun by a rename.
int openRegularDescriptor(const QString& path)
{
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
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
    const QFileInfo info(path);
    if (!info.exists())
        return fileError(parentDirectoryExists(info) ? kFileNotFound : kPathNotFound);
    if (!info.isFile())
        return fileError(kPathFileAccessError);
    file.setFileName(path);
#ifdef Q_OS_WIN
    if (!file.open(QIODevice::ReadOnly))
        return openFailure(info);
#else
    const int descriptor = openRegularDescriptor(path);
    if (descriptor < 0)
        return openFailure(info);
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return openFailure(info);
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
    constexpr QFileDevice::Permissions anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return (QFile::permissions(path) & anyWrite) == QFileDevice::Permissions();
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
