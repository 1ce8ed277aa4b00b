#pragma once

#include "dgoptions/DgRewrite.h"

#include <QString>

namespace kadrix {

// The files a header rewrite works with, and the names its messages show.
// The trial's file is found in the data directory whatever the letter case
// of its name; the temporary and backup names are formed from the name it
// has on the disk.
struct DgFileNames {
    DgFilePaths paths;
    QString shownTrial;    // the trial's file in upper case: "WALK1.DG"
    QString shownBackup;   // the backup in upper case: "WALK1.DG!"
    QString temporaryName; // the temporary file's name: "walk1.D$$"
    QString trialFileName; // the trial's file as named on the disk: "walk1.dg"
};

// `listedName` is the trial's file as the user picked it: when it is the
// trial's .DG file, that very file is the one rewritten, even where another
// differs from it only in letter case.
DgFileNames dgFileNames(const QString& dataDir, const QString& trialName,
                        const QString& listedName);

} // namespace kadrix
