#pragma once

#include "dgoptions/DgRewrite.h"
#include "platform/FileErrors.h"

#include <QString>

namespace kadrix {

// The files a header rewrite works with, and the names its messages show.
// The trial's file is found in the data directory whatever the letter case
// of its name; the temporary and backup names are formed from the name it
// has on the disk. A trial that is a symbolic link is saved through the
// file it links to: the paths are that file's, with the temporary and
// backup files beside it, so that the new copy never leaves its file
// system. The paths are exact (see NativeNames.h); the names for messages
// show any byte that is no UTF-8 as \xFF.
struct DgFileNames {
    DgFilePaths paths;
    QString shownTrial;     // the trial's file in upper case: "WALK1.DG"
    QString shownBackup;    // the backup in upper case: "WALK1.DG!"
    QString temporaryName;  // the temporary file's name: "walk1.D$$"
    QString trialFileName;  // the trial's file as named on the disk: "walk1.dg"
    QString backupFileName; // the backup as named on the disk: "walk1.DG!"
    // For a trial that is a link: its own name ("WALK1.DG"), while the
    // three names above are the whole paths of the files beside its target.
    QString link;
    // Why the trial cannot be saved at all; nothing may be written then.
    FileError refused;
};

// `listedName` is the trial's file as the user picked it: when it is the
// trial's .DG file, that very file is the one rewritten, even where another
// differs from it only in letter case.
DgFileNames dgFileNames(const QString& dataDir, const QString& trialName,
                        const QString& listedName);

// The last component of a path, and the directory before it ("." for none).
QString fileNameOf(const QString& path);
QString directoryOf(const QString& path);

} // namespace kadrix
