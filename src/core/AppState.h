#pragma once

#include "platform/DirectoryNames.h"

#include <QString>

namespace kadrix {

// The state the main window and its secondary windows share. The main window
// owns it and hands it by reference to whoever reads or writes it.
struct AppState {
    QString DataDir;        // current data directory, kept equal to the current directory
    QString ProgDir;        // companion programs, help texts and manuals/
    QString TrialPath;      // the trial's file name as listed, or as typed on the command line
    QString TrialDir;       // the data directory at the time TrialPath was set
    QString TrialName;      // the trial's name without extension; empty: no trial
    QString TrialExt;       // the trial's extension, upper case, without the dot
    QString VersionText;    // e.g. "1.06 (005)"
    QString ManualsDir;     // ProgDir + "/manuals/"
    QString ManualFile;     // PDF the reader opens first; empty: its document list
    QString ViewerFile;     // full path of the text the viewer shows
    QString OptionSwitches; // display switches for the animation program
    double TaskId = 0;      // whatever the last program start returned

    // What the browser last read of the data directory: names there are
    // looked up regardless of case without reading it again.
    ListedDirectory DataDirListing;

    // The program being started, as the launchers name it, and its full path.
    QString ProgName;
    QString ProgPath;
};

// Sets TrialPath, a name in the current data directory (or a path).
inline void setTrialPath(AppState& state, const QString& path)
{
    state.TrialPath = path;
    state.TrialDir = state.DataDir;
}

} // namespace kadrix
