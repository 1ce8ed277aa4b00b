#include "platform/NativeFiles.h"

#include "platform/NativeNames.h"

#include <QDir>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
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

QString resolvedPath(const QString& path)
{
    const std::unique_ptr<char, decltype(&std::free)> resolved(
        ::realpath(encodeNativeName(path).constData(), nullptr), &std::free);
    return resolved ? decodeNativeName(resolved.get()) : QString();
}

int enterDirectory(const QString& path)
{
    return ::chdir(encodeNativeName(path).constData()) == 0 ? 0 : errno;
}

namespace {

bool endsIn(std::string_view name, QByteArrayView suffix)
{
    if (name.size() < static_cast<size_t>(suffix.size()))
        return false;
    const std::string_view end = name.substr(name.size() - static_cast<size_t>(suffix.size()));
    return std::equal(end.begin(), end.end(), suffix.begin(),
                      [](char a, char b) { return foldedAsciiByte(a) == foldedAsciiByte(b); });
}

} // namespace

QStringList fileNamesEndingIn(const QString& directory, QByteArrayView suffix)
{
    QStringList names;
    DIR* stream = ::opendir(encodeNativeName(directory).constData());
    if (!stream)
        return names;
    const int descriptor = ::dirfd(stream);
    while (const dirent* entry = ::readdir(stream)) {
        const std::string_view name(entry->d_name);
        struct stat status {};
        if (!name.starts_with('.') && endsIn(name, suffix) &&
            ::fstatat(descriptor, entry->d_name, &status, 0) == 0 && S_ISREG(status.st_mode))
            names.append(decodeNativeName(QByteArrayView(name.data(), qsizetype(name.size()))));
    }
    ::closedir(stream);
    return names;
}

QStringList namesLike(const QString& directory, const QString& name)
{
    QStringList found;
    DIR* stream = ::opendir(encodeNativeName(directory).constData());
    if (!stream)
        return found;
    while (const dirent* entry = ::readdir(stream)) {
        const QString entryName = decodeNativeName(entry->d_name);
        if (entryName == name)
            found.prepend(entryName);
        else if (sameIgnoringAsciiCase(entryName, name))
            found.append(entryName);
    }
    ::closedir(stream);
    return found;
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
