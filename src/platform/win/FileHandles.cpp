#include "platform/win/FileHandles.h"

#include "platform/NativeNames.h"

#include <QDir>

#include <cerrno>
#include <io.h>

namespace kadrix::winfile {

namespace {

// Errors that these headers do not name.
inline constexpr DWORD kStoppedOnLink = 681;
inline constexpr DWORD kQuotaExceeded = 1295;

} // namespace

std::wstring wideName(const QByteArray& path)
{
    return QDir::toNativeSeparators(decodeNativeName(path)).toStdWString();
}

std::wstring fullName(const std::wstring& name)
{
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(name.c_str(), DWORD(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(name.c_str(), DWORD(full.size()), full.data(), nullptr);
    }
    if (length == 0 || length >= full.size())
        return name;
    full.resize(length);
    return full;
}

bool namesDevice(const std::wstring& name)
{
    const std::wstring full = fullName(name);
    if (!full.starts_with(L"\\\\.\\"))
        return false;
    const bool drive = full.size() >= 6 && full[5] == L':'; // \\.\C:\ is a drive's own path
    return !drive;
}

int errnoOf(DWORD error)
{
    switch (error) {
    case ERROR_SUCCESS:
        return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DELETE_PENDING: // the name goes as soon as its last user lets go
        return ENOENT;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_CANNOT_MAKE:
    case ERROR_CURRENT_DIRECTORY:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_PRIVILEGE_NOT_HELD:
        return EPERM;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kQuotaExceeded:
        return ENOSPC;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
    case ERROR_SECTOR_NOT_FOUND:
        return EIO;
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
        return ENXIO;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_NO_SYSTEM_RESOURCES:
        return ENFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_INVALID_HANDLE:
        return EBADF;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG; // a name the file system cannot hold
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_TOO_MANY_LINKS:
        return EMLINK;
    case ERROR_DIR_NOT_EMPTY:
        return ENOTEMPTY;
    case ERROR_BROKEN_PIPE:
        return EPIPE;
    case ERROR_CANT_RESOLVE_FILENAME:
    case kStoppedOnLink:
        return ELOOP;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
        return ENOTSUP;
    default:
        return EINVAL;
    }
}

int lastError()
{
    return errnoOf(GetLastError());
}

bool unknownRequest(DWORD error)
{
    return error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_INVALID_FUNCTION;
}

HANDLE handleOf(int fd)
{
    return fd < 0 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

UniqueFd descriptorOf(HANDLE handle)
{
    // Without _O_TEXT the descriptor is binary.
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), 0);
    if (fd < 0) {
        CloseHandle(handle);
        errno = EMFILE;
    }
    return UniqueFd(fd);
}

HANDLE openHandle(const QByteArray& path, DWORD access, DWORD flags, DWORD disposition,
                  DWORD attributes)
{
    const std::wstring name = wideName(path);
    if (name.empty()) {
        errno = ENOENT;
        return INVALID_HANDLE_VALUE;
    }
    if (namesDevice(name)) {
        errno = ENXIO;
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE handle =
        CreateFileW(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, disposition, attributes | flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        errno = lastError();
    return handle;
}

} // namespace kadrix::winfile
