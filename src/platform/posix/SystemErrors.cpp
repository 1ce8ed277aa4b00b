#include "platform/FileErrors.h"

#include <cerrno>

namespace kadrix {

int classicNumberOfSystemError(int systemError)
{
    switch (systemError) {
    case ENOENT:
        return kFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
        return kDiskFull;
    case EIO:
        return kDeviceIoError;
    case EEXIST:
        return kFileAlreadyExists;
    case ENAMETOOLONG:
        return kBadFileName;
    default:
        return kPathFileAccessError;
    }
}

} // namespace kadrix
