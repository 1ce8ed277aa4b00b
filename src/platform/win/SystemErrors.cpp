#include "platform/FileErrors.h"

#include <windows.h>

namespace kadrix {

int classicNumberOfSystemError(int systemError)
{
    switch (static_cast<DWORD>(systemError)) {
    case ERROR_FILE_NOT_FOUND:
        return kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
        return kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return kPermissionDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return kDiskFull;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
        return kDeviceIoError;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return kFileAlreadyExists;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
        return kBadFileName;
    case ERROR_NOT_READY:
        return kDeviceUnavailable;
    default:
        return kPathFileAccessError;
    }
}

} // namespace kadrix
