#include "dgoptions/SaveErrors.h"

namespace kadrix {

namespace {

QString describe(int number)
{
    switch (number) {
    case kOverflow:
        return QStringLiteral("Overflow");
    case kTypeMismatch:
        return QStringLiteral("Type mismatch");
    case kFileAlreadyOpen:
        return QStringLiteral("File already open");
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

FileError saveError(int number, const QString& name)
{
    return FileError{number, describe(number) + QStringLiteral(": ") + name};
}

int numberOfHeaderError(HeaderError error)
{
    switch (error) {
    case HeaderError::None:
        return kNoError;
    case HeaderError::TooFewLines:
        return kInputPastEndOfFile;
    case HeaderError::NotText:
        return kTypeMismatch;
    case HeaderError::Overflow:
        return kOverflow;
    }
    return kPathFileAccessError;
}

} // namespace

FileError saveErrorFromErrno(int errnoValue, const QString& name)
{
    return saveError(classicNumberOfSystemError(errnoValue), name);
}

FileError saveErrorFromHeader(HeaderError error, const QString& trialName)
{
    if (error == HeaderError::None)
        return {};
    return saveError(numberOfHeaderError(error), trialName);
}

FileError trialBeingSaved(const QString& trialName)
{
    return saveError(kFileAlreadyOpen, trialName + QStringLiteral(" is being saved"));
}

FileError trialNotLocked(const QString& trialName)
{
    return saveError(kPathFileAccessError,
                     trialName + QStringLiteral(" cannot be locked against other saves"));
}

FileError trialIsLink(const QString& trialName)
{
    return saveError(kPathFileAccessError,
                     trialName + QStringLiteral(" is a link; only the file it leads to is saved"));
}

FileError linkWithoutDgName(const QString& link, const QString& target)
{
    return saveError(kPathFileAccessError,
                     link + QStringLiteral(" is a link to ") + target +
                         QStringLiteral(", whose name does not end in .DG: no backup name can be "
                                        "formed beside it"));
}

} // namespace kadrix
