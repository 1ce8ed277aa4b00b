#pragma once

#include "platform/ProgramEnd.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <atomic>

namespace kadrix {

// One start of a Windows program through Wine, as data for a worker.
struct WineStartJob {
    QStringList wine;                // Wine's loader and the arguments it is given first
    QStringList programAndArguments; // the Windows program's path, then its arguments
    QString workingDirectory;
    QProcessEnvironment environment;
    QString dataDirectory;    // the settings mirrored into the prefix's registry;
    QString programDirectory; // both empty: nothing is mirrored
    QString logDirectory;
};

struct WineStartOutcome {
    bool failed = false;
    QString reason;
    QString logPath;      // none when the log could not be written
    QString logProblem;   // then where, and why: "/home/ann/.local/state/kadrix95 cannot be
                          // written (Read-only file system)"
    QString lastLines;    // the end of Wine's log when it failed
    qint64 processId = 0; // the shell that runs Wine, when it was started
    bool ended = false;   // it ended while watched
};

// How long a start is watched for an early failure.
inline constexpr int kWineWatchMilliseconds = 5000;

// Mirrors the settings into the prefix's registry, starts the program
// detached (it outlives the front-end) with Wine's output going to a new
// log file, then watches it for a few seconds: an early end with a failure
// is the outcome's. Where no log can be written (a read-only or full home),
// the program starts all the same with its output dropped, unwatched, and
// the outcome says where the log could not be written. It blocks, so it runs on a worker;
// `cancelled` cuts the waits short when the front-end closes.
WineStartOutcome runWineStart(const WineStartJob& job, const std::atomic<bool>& cancelled);

// Waits for the start of `outcome` to end, if it has not already, and
// tells how from the exit code noted in its log. It blocks, so it runs on a
// worker; `cancelled` stops the wait, and the end is then not known.
ProgramEnd wineProgramEnd(const WineStartOutcome& outcome, const std::atomic<bool>& cancelled);

// The directory of Wine's logs: $XDG_STATE_HOME/kadrix95, by default
// ~/.local/state/kadrix95.
QString wineLogDirectory(const QProcessEnvironment& environment);

} // namespace kadrix
