#pragma once

#include <QStringList>

#include <functional>

namespace kadrix {

struct AppState;

// Whether a path names an existing file (not a directory).
using FileProbe = std::function<bool(const QString& path)>;

// Reads the command line: `arguments` one by one, as a desktop passes them,
// and `argumentText`, the classic text of the same. The first argument that
// names an existing file, absolute or relative to `currentDirectory` and
// blanks included, is the trial: DataDir becomes its directory and
// TrialPath its name. Without one, GetCommandLine reads `argumentText`.
void readCommandLine(AppState& state, const QStringList& arguments, const QString& argumentText,
                     const QString& currentDirectory, const FileProbe& isFile);

// The options answered before any window is made.
enum class InfoRequest { None, Help, Version };

// The first of "--help" and "--version" among the arguments.
InfoRequest infoRequestOf(const QStringList& arguments);

// What --help prints: usage, the classic switches, settings and files.
QString helpText();

} // namespace kadrix
