#include "platform/NativeFiles.h"

#include "platform/NativeNames.h"
#include "platform/win/FileHandles.h"
#include "platform/win/FoundEntries.h"

#include <QDir>

#include <algorithm>
#include <string>
#include <windows.h>

namespace kadrix {

PathKind kindOfPath(const QString& path)
{
    const DWORD attributes =
        path.isEmpty() ? INVALID_FILE_ATTRIBUTES : attributesFollowingLinks(windowsPath(path));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathKind::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return PathKind::Directory;
    return (attributes & FILE_ATTRIBUTE_DEVICE) ? PathKind::Other : PathKind::File;
}

bool pathExists(const QString& path)
{
    return !path.isEmpty() &&
           GetFileAttributesW(windowsPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isSymbolicLink(const QString& path)
{
    const std::wstring native = windowsPath(path);
    const DWORD attributes =
        path.isEmpty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(native.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    WIN32_FIND_DATAW found{}; // tells the kind of reparse point
    const HANDLE search = FindFirstFileExW(native.c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return isLinkEntry(found);
}

namespace {

// Whether the file or directory may be opened for `access`: a file that
// someone else holds without sharing still grants it.
bool mayOpen(const QString& path, DWORD access)
{
    const HANDLE file = CreateFileW(windowsPath(path).c_str(), access, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return true;
}

bool isWindowsProgram(const QString& path)
{
    static const QStringList suffixes{QStringLiteral(".exe"), QStringLiteral(".com"),
                                      QStringLiteral(".bat"), QStringLiteral(".cmd")};
    return std::any_of(suffixes.begin(), suffixes.end(), [&](const QString& suffix) {
        return path.endsWith(suffix, Qt::CaseInsensitive);
    });
}

} // namespace

bool mayEnter(const QString& path)
{
    return kindOfPath(path) == PathKind::Directory && mayOpen(path, FILE_TRAVERSE);
}

bool mayRead(const QString& path)
{
    const PathKind kind = kindOfPath(path);
    return (kind == PathKind::File || kind == PathKind::Directory) &&
           mayOpen(path, kind == PathKind::File ? FILE_READ_DATA : FILE_LIST_DIRECTORY);
}

// A directory's read-only attribute keeps nothing out of it.
bool mayWrite(const QString& path)
{
    const DWORD attributes =
        path.isEmpty() ? INVALID_FILE_ATTRIBUTES : attributesFollowingLinks(windowsPath(path));
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DEVICE))
        return false;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return mayOpen(path, FILE_ADD_FILE);
    return !(attributes & FILE_ATTRIBUTE_READONLY) && mayOpen(path, FILE_WRITE_DATA);
}

// A program is a file that Windows would run by its name.
bool mayExecute(const QString& path)
{
    return isWindowsProgram(path) && kindOfPath(path) == PathKind::File &&
           mayOpen(path, FILE_EXECUTE);
}

QString currentDirectory()
{
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring buffer(size, L'\0');
    const DWORD length = size ? GetCurrentDirectoryW(size, buffer.data()) : 0;
    if (length == 0 || length >= size)
        return QDir::currentPath();
    return QDir::fromNativeSeparators(QString::fromWCharArray(buffer.data(), length));
}

// The system's own answer knows the current directory of every drive, for
// "D:name", and the current drive, for "\name".
QString absolutePath(const QString& path)
{
    if (path.isEmpty())
        return currentDirectory();
    const std::wstring native = windowsPath(path);
    const DWORD size = GetFullPathNameW(native.c_str(), 0, nullptr, nullptr);
    std::wstring buffer(size, L'\0');
    const DWORD length = size ? GetFullPathNameW(native.c_str(), size, buffer.data(), nullptr) : 0;
    if (length == 0 || length >= size)
        return QDir::cleanPath(
            QDir::isAbsolutePath(path) ? path : currentDirectory() + QLatin1Char('/') + path);
    return QDir::cleanPath(
        QDir::fromNativeSeparators(QString::fromWCharArray(buffer.data(), length)));
}

namespace {

// The final path as a path the program can use: "\\?\C:\x" is "C:\x", and
// "\\?\UNC\server\share" is "\\server\share".
QString withoutLongPrefix(const QString& path)
{
    if (path.startsWith(QLatin1String("\\\\?\\UNC\\")))
        return QStringLiteral("\\\\") + path.mid(8);
    return path.startsWith(QLatin1String("\\\\?\\")) ? path.mid(4) : path;
}

} // namespace

QString resolvedPath(const QString& path)
{
    if (path.isEmpty())
        return {};
    const HANDLE file = CreateFileW(windowsPath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    constexpr DWORD kFlags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    const DWORD size = GetFinalPathNameByHandleW(file, nullptr, 0, kFlags);
    std::wstring buffer(size, L'\0');
    const DWORD length = size ? GetFinalPathNameByHandleW(file, buffer.data(), size, kFlags) : 0;
    CloseHandle(file);
    if (length == 0 || length >= size)
        return {};
    return QDir::fromNativeSeparators(
        withoutLongPrefix(QString::fromWCharArray(buffer.data(), length)));
}

namespace {

// 0, or the errno of the failure, as on every host.
int answer(BOOL done)
{
    return done ? 0 : winfile::lastError();
}

} // namespace

int enterDirectory(const QString& path)
{
    return answer(SetCurrentDirectoryW(windowsPath(path).c_str()));
}

namespace {

bool endsIn(const QByteArray& name, QByteArrayView suffix)
{
    if (name.size() < suffix.size())
        return false;
    return std::equal(name.end() - suffix.size(), name.end(), suffix.begin(),
                      [](char a, char b) { return foldedAsciiByte(a) == foldedAsciiByte(b); });
}

} // namespace

QStringList fileNamesEndingIn(const QString& directory, QByteArrayView suffix)
{
    QStringList names;
    const std::wstring native = windowsPath(directory);
    forEachEntry(directory, [&](const WIN32_FIND_DATAW& found) {
        const QString name = QString::fromWCharArray(found.cFileName);
        if (isHiddenEntry(found) || !endsIn(encodeNativeName(name), suffix))
            return;
        const DWORD attributes =
            isLinkEntry(found)
                ? attributesFollowingLinks(joinedWindowsPath(native, found.cFileName))
                : found.dwFileAttributes;
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
            names.append(name);
    });
    return names;
}

QStringList namesLike(const QString& directory, const QString& name)
{
    QStringList found;
    forEachEntry(directory, [&](const WIN32_FIND_DATAW& entry) {
        const QString entryName = QString::fromWCharArray(entry.cFileName);
        if (entryName == name)
            found.prepend(entryName);
        else if (sameIgnoringAsciiCase(entryName, name))
            found.append(entryName);
    });
    return found;
}

int removeNamedFile(const QString& path)
{
    return answer(DeleteFileW(windowsPath(path).c_str()));
}

int createDirectory(const QString& path)
{
    return answer(CreateDirectoryW(windowsPath(path).c_str(), nullptr));
}

int removeDirectory(const QString& path)
{
    return answer(RemoveDirectoryW(windowsPath(path).c_str()));
}

} // namespace kadrix
