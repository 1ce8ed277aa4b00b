#pragma once

#include <QStringList>

namespace kadrix {

struct AppState;

inline constexpr int kDefaultMaxArguments = 10;

// Splits the program's argument text at blanks and tabs into at most
// `maxArgs` words; quotation marks are ordinary characters. Entry 0 of the
// result is always empty, entries 1..n hold the words.
//
// The first word that begins with neither "-" nor "/" becomes TrialPath;
// every word before it sets DataDir to `currentDirectory`.
QStringList GetCommandLine(AppState& state, const QString& argumentText,
                           const QString& currentDirectory, int maxArgs = kDefaultMaxArguments);

// The argument text as one string, the way the classic platform handed it
// over: the words after the program name joined by single blanks.
QString argumentTextOf(const QStringList& arguments);

} // namespace kadrix
