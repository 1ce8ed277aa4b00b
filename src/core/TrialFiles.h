#pragma once

#include <QString>

namespace kadrix {

struct AppState;

// The file on the disk that a name built for the current trial means, the
// name relative to DataDir when `built` is relative. The name the user picked
// or typed wins: a name that equals TrialPath regardless of letter case is
// TrialPath as written. A name made of the trial's name and another
// extension is first looked for with the trial's own spelling, its extension
// in the letter case of the trial's. Only a name that exists in none of
// these spellings is found regardless of case; one that is not there at all
// is given back as built.
QString trialFileOnDisk(const AppState& state, const QString& built);

// Whether the trial's file `built` is there and can be opened for reading.
bool trialFileExists(const AppState& state, const QString& built);

// Makes the trial's file `built` TrialPath, spelled as it is on the disk,
// so that the names later built from TrialPath keep meaning the same files.
void setTrialFile(AppState& state, const QString& built);

} // namespace kadrix
