#include "platform/FileErrors.h"

#include <cerrno>

// The platform layer reports failed file steps by errno on every system (the
// Windows twins turn GetLastError() into it), so this mapping is shared.

namespace kadrix {

int classicNumberOfSystemError(int systemError)
{
    switch (systemError) {
    case ENOENT:
        return kFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return kPermissionDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
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
