#pragma once

#include "dgoptions/HeaderFields.h"
#include "platform/FileErrors.h"

#include <QString>

namespace kadrix {

// The three files of a header rewrite, as they are named on the disk.
struct DgFilePaths {
    QString trial;     // the trial's .DG file
    QString temporary; // where the new copy is written first
    QString backup;    // the previous file's second name afterwards
};

struct RewriteOutcome {
    enum class Result {
        Saved,        // the trial holds the new header; the backup the previous file
        TrialMissing, // there is no trial file; nothing was written
        Failed,       // nothing was changed and no new copy was kept
        ChangesKept,  // the trial is unchanged; the new copy is in the temporary file
        Unflushed,    // saved, but the directory's new entries may not survive a power cut
    };
    Result result = Result::Saved;
    FileError error;
};

// Rewrites line 3 of the trial's header without ever leaving the trial's
// name without a complete file. The trial is locked first: a save that
// finds it locked by another save, in this process or any other, fails and
// changes nothing. Then the new copy is written under the temporary name,
// created afresh, and flushed to the disk; only then is an older backup
// removed and the backup made a second name of the previous file (a hard
// link, or a flushed copy where the file system has no links); one atomic
// rename gives the new copy the trial's name, once the temporary name is
// seen still to name it, and the directory is flushed. After a failure at
// any step the trial's name still holds the previous file, untouched.
RewriteOutcome rewriteDgFile(const DgFilePaths& paths, HeaderChoices choices);

} // namespace kadrix
