#include "platform/win/FoundEntries.h"

#include <QDir>

namespace kadrix {

std::wstring windowsPath(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

std::wstring joinedWindowsPath(const std::wstring& directory, const wchar_t* name)
{
    if (directory.empty() || directory.back() == L'\\')
        return directory + name;
    return directory + L'\\' + name;
}

DWORD attributesFollowingLinks(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return attributes;
    const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return INVALID_FILE_ATTRIBUTES;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(file, &information);
    CloseHandle(file);
    return known ? information.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
}

bool isLinkEntry(const WIN32_FIND_DATAW& found)
{
    return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           IsReparseTagNameSurrogate(found.dwReserved0);
}

bool isHiddenEntry(const WIN32_FIND_DATAW& found)
{
    return found.cFileName[0] == L'.' || (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN);
}

namespace {

bool isDotOrDotDot(const wchar_t* name)
{
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

} // namespace

DWORD forEachEntry(const QString& directory,
                   const std::function<void(const WIN32_FIND_DATAW& found)>& visit)
{
    if (directory.isEmpty())
        return ERROR_PATH_NOT_FOUND;
    const std::wstring pattern = joinedWindowsPath(windowsPath(directory), L"*");
    WIN32_FIND_DATAW found{};
    const HANDLE search =
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                         FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // A drive's root has no "." or "..": found empty, it was read.
        const DWORD attributes = GetFileAttributesW(windowsPath(directory).c_str());
        const bool empty = error == ERROR_FILE_NOT_FOUND && attributes != INVALID_FILE_ATTRIBUTES &&
                           (attributes & FILE_ATTRIBUTE_DIRECTORY);
        return empty ? 0 : error;
    }
    do {
        if (!isDotOrDotDot(found.cFileName))
            visit(found);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return 0;
}

} // namespace kadrix
