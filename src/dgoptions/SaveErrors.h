#pragma once

#include "dgoptions/HeaderFields.h"
#include "platform/FileErrors.h"

namespace kadrix {

// Error numbers of the classic file and number functions that a header
// rewrite can meet, beyond those of the file tests.
enum SaveErrorNumber : int {
    kOverflow = 6,
    kTypeMismatch = 13,
    kDeviceIoError = 57,
    kFileAlreadyExists = 58,
    kDiskFull = 61,
    kInputPastEndOfFile = 62,
};

// The error a failed system call reports, by its errno.
FileError saveErrorFromErrno(int errnoValue);

// The error a header that cannot be rewritten reports.
FileError saveErrorFromHeader(HeaderError error);

} // namespace kadrix
