#include "platform/NativeFiles.h"

#include "platform/NativeNames.h"

#include <QDir>

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace kadrix {

PathKind kindOfPath(const QString& path)
{
    struct stat status {};
    if (path.isEmpty() || ::stat(encodeNativeName(path).constData(), &status) != 0)
        return PathKind::Missing;
    if (S_ISREG(status.st_mode))
        return PathKind::File;
    return S_ISDIR(status.st_mode) ? PathKind::Directory : PathKind::Other;
}

bool pathExists(const QString& path)
{
    struct stat status {};
    return !path.isEmpty() && ::lstat(encodeNativeName(path).constData(), &status) == 0;
}

bool isSymbolicLink(const QString& path)
{
    struct stat status {};
    return !path.isEmpty() && ::lstat(encodeNativeName(path).constData(), &status) == 0 &&
           S_ISLNK(status.st_mode);
}

bool mayEnter(const QString& path)
{
    return ::access(encodeNativeName(path).constData(), X_OK) == 0;
}

bool mayRead(const QString& path)
{
    return ::access(encodeNativeName(path).constData(), R_OK) == 0;
}

bool mayWrite(const QString& path)
{
    return ::access(encodeNativeName(path).constData(), W_OK) == 0;
}

bool mayExecute(const QString& path)
{
    return ::access(encodeNativeName(path).constData(), X_OK) == 0;
}

QString currentDirectory()
{
    char buffer[PATH_MAX];
    if (::getcwd(buffer, sizeof buffer))
        return decodeNativeName(buffer);
    return QDir::currentPath(); // gone, or deeper than PATH_MAX
}

QString absolutePath(const QString& path)
{
    if (QDir::isAbsolutePath(path))
        return QDir::cleanPath(path);
    return QDir::cleanPath(currentDirectory() + QLatin1Char('/') + path);
}

int enterDirectory(const QString& path)
{
    return ::chdir(encodeNativeName(path).constData()) == 0 ? 0 : errno;
}

namespace {

int answer(int result)
{
    return result == 0 ? 0 : errno;
}

} // namespace

int removeNamedFile(const QString& path)
{
    return answer(::unlink(encodeNativeName(path).constData()));
}

int createDirectory(const QString& path)
{
    return answer(::mkdir(encodeNativeName(path).constData(), 0777));
}

int removeDirectory(const QString& path)
{
    return answer(::rmdir(encodeNativeName(path).constData()));
}

} // namespace kadrix
