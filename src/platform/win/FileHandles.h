#pragma once

#include "platform/OpenFiles.h"

#include <QByteArray>

#include <string>
#include <windows.h>

// What the Windows twins of OpenFiles.h and PosixFiles.h share: the
// Windows file behind a descriptor, the UTF-16 name behind a path, and the
// errno standing for a Windows error.

namespace kadrix::winfile {

// The Windows name of a path made by encodeNativeName.
std::wstring wideName(const QByteArray& path);
// The absolute form of a Windows name, as the system itself forms it.
std::wstring fullName(const std::wstring& name);
// Whether the system takes `name` for a device rather than a file: the
// old device names (NUL, CON, COM1...) stand for their device in any
// directory, and \\.\ names lead to devices and pipes.
bool namesDevice(const std::wstring& name);

// The errno standing for a Windows error number.
int errnoOf(DWORD error);
// The errno of the last failed Windows call.
int lastError();
// Whether a failed call only says that the file system or the system does
// not know the request.
bool unknownRequest(DWORD error);

// The Windows file behind a descriptor; INVALID_HANDLE_VALUE for none.
HANDLE handleOf(int fd);
// A descriptor that owns `handle`; when no descriptor is left, the handle
// is closed and errno is EMFILE.
UniqueFd descriptorOf(HANDLE handle);

// Opens `path` shared for reading, writing and deleting, so that others
// and this process keep every right to rename or remove the names of an
// open file, as on other systems; never a device. INVALID_HANDLE_VALUE
// with errno set on failure.
HANDLE openHandle(const QByteArray& path, DWORD access, DWORD flags,
                  DWORD disposition = OPEN_EXISTING, DWORD attributes = 0);

} // namespace kadrix::winfile
