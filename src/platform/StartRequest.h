#pragma once

#include <QString>
#include <QStringList>

namespace kadrix {

// How the classic program asked for a start: through the shell's "open"
// verb, or as one command text.
enum class StartKind { Shell, Command };

// Show codes as the classic shell knew them; they travel with the request.
inline constexpr int kShowNormal = 1;
inline constexpr int kShow = 5;

// One program start, as data. The launcher builds it; the Starter carries it
// out. The program receives `arguments` as a list, never through a shell, so
// a name with blanks or shell characters stays one argument and runs nothing.
struct StartRequest {
    StartKind kind = StartKind::Command;
    QString program;          // a path, or a bare name such as "notepad.exe"
    QStringList arguments;    // each one reaches the program whole
    QString workingDirectory; // empty: the process's current directory
    int showCode = kShow;
    QString commandText; // the command as the front-end writes it, for messages and tests
    // A shell start's parameter text as the classic program built it: what
    // the Windows shell receives, and on Windows the one form of the
    // arguments that counts.
    QString parameterText = {};

    bool operator==(const StartRequest&) const = default;
};

} // namespace kadrix
