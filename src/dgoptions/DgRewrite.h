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
        Failed,       // the trial is unchanged and no new copy was kept
        ChangesKept,  // the trial is unchanged; the new copy is in the temporary file
        Unflushed,    // saved, but the directory's new entries may not survive a power cut
        // Another program put a file of its own under the trial's name
        // during the save: that file keeps the name, the new copy is in the
        // temporary file, and the backup is the file that was read.
        Replaced,
        // The same, but that program's file could not be given the trial's
        // name back: it is in the temporary file, the new copy under the
        // trial's name; the backup is the file that was read.
        ReplacedNotRestored,
    };
    Result result = Result::Saved;
    FileError error;
};

// Rewrites line 3 of the trial's header without ever leaving the trial's
// name without a complete file, and acts on the very file that was read,
// whatever another program does to its name meanwhile. The trial is locked
// first: a save that finds it locked by another save, in this process or
// any other, fails and changes nothing. Then the new copy is written as a
// file without a name (or, where the file system has none, under the
// temporary name, created afresh) and flushed to the disk; only then is an
// older backup removed and the backup made a second name of the file read,
// linked from its descriptor (or a flushed copy of it where the file
// system has no links). The new copy gets the temporary name and one
// atomic exchange swaps it with whatever has the trial's name; when that
// turns out not to be the file read, the exchange is undone. Where the
// file system cannot exchange, one atomic rename replaces the trial once
// it is seen still to be the file read. The directory is flushed last.
// After a failure at any step the trial's name still holds the file that
// was there, untouched.
RewriteOutcome rewriteDgFile(const DgFilePaths& paths, HeaderChoices choices);

} // namespace kadrix
