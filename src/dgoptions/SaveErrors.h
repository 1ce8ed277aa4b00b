#pragma once

#include "dgoptions/HeaderFields.h"
#include "platform/FileErrors.h"

namespace kadrix {

// Error numbers of the classic file and number functions that a header
// rewrite can meet, beyond those of the file tests.
enum SaveErrorNumber : int {
    kOverflow = 6,
    kTypeMismatch = 13,
    kFileAlreadyOpen = 55,
    kInputPastEndOfFile = 62,
};

// The error a failed system call on the file `name` reports, by the
// system's error number; its description names the file: "File already
// exists: WALK1.D$$".
FileError saveErrorFromErrno(int errnoValue, const QString& name);

// The error a trial whose header cannot be rewritten reports.
FileError saveErrorFromHeader(HeaderError error, const QString& trialName);

// The error a trial that another save is rewriting reports.
FileError trialBeingSaved(const QString& trialName);

// The error a trial reports whose lock against other saves could not be
// taken for another reason than another save holding it.
FileError trialNotLocked(const QString& trialName);

// The error a trial reports that is a symbolic link when it is to be read:
// only the file a link leads to is ever saved.
FileError trialIsLink(const QString& trialName);

// The error a trial reports that is a link to a file whose name does not
// end in .DG, beside which no temporary or backup name can be formed.
FileError linkWithoutDgName(const QString& link, const QString& target);

} // namespace kadrix
