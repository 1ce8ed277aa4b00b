#include "dgoptions/SaveErrors.h"

#include <cerrno>

namespace kadrix {

namespace {

QString describe(int number)
{
    switch (number) {
    case kOverflow:
        return QStringLiteral("Overflow");
    case kTypeMismatch:
        return QStringLiteral("Type mismatch");
    case kDeviceIoError:
        return QStringLiteral("Device I/O error");
    case kFileAlreadyExists:
        return QStringLiteral("File already exists");
    case kDiskFull:
        return QStringLiteral("Disk full");
    case kInputPastEndOfFile:
        return QStringLiteral("Input past end of file");
    default:
        return describeFileError(number);
    }
}

int numberOfErrno(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
        return kFileNotFound;
    case EACCES:
    case EPERM:
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

FileError saveError(int number)
{
    return FileError{number, describe(number)};
}

} // namespace

FileError saveErrorFromErrno(int errnoValue)
{
    return saveError(numberOfErrno(errnoValue));
}

FileError saveErrorFromHeader(HeaderError error)
{
    switch (error) {
    case HeaderError::None:
        return {};
    case HeaderError::TooFewLines:
        return saveError(kInputPastEndOfFile);
    case HeaderError::NotText:
        return saveError(kTypeMismatch);
    case HeaderError::Overflow:
        return saveError(kOverflow);
    }
    return saveError(kPathFileAccessError);
}

} // namespace kadrix
