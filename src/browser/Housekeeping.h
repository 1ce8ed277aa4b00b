#pragma once

#include <QString>

namespace kadrix {

struct AppState;

// Creates the directory `name` (which may hold a path) relative to
// `directory`. Returns the empty text on success, else the message that
// tells the user why nothing was created.
QString createSubdirectory(const QString& directory, const QString& name);

// The full path of the file that TrialPath names: the name taken in the
// directory where it was selected, found regardless of letter case.
QString selectedFilePath(const AppState& state);

// Deletes a file of the user's, never a directory, and never one that is
// write-protected: by the directory, or by having no write permission for
// anyone, even when the program runs as root. False when the file stays.
bool deleteUserFile(const QString& path);

} // namespace kadrix
