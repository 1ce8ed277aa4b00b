#pragma once

#include <QString>

#include <functional>
#include <string>
#include <windows.h>

// Paths and directory entries as the Windows file API takes and hands them.

namespace kadrix {

// Opens a file or directory whoever else holds it open.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring windowsPath(const QString& path);
std::wstring joinedWindowsPath(const std::wstring& directory, const wchar_t* name);

// The attributes of what `path` leads to through every link on the way;
// INVALID_FILE_ATTRIBUTES when it leads nowhere.
DWORD attributesFollowingLinks(const std::wstring& path);

// Whether the entry is a symbolic link or a junction, not a file of its own.
bool isLinkEntry(const WIN32_FIND_DATAW& found);
// Hidden as the lists hide names: by a leading dot or by its attribute.
bool isHiddenEntry(const WIN32_FIND_DATAW& found);

// Visits the entries of `directory` in the order the system hands them out,
// all but "." and ".."; the error of a directory that cannot be read, else 0.
DWORD forEachEntry(const QString& directory,
                   const std::function<void(const WIN32_FIND_DATAW& found)>& visit);

} // namespace kadrix
