#pragma once

#include <QString>

namespace kadrix {

// How a program that the front-end watched has ended.
struct ProgramEnd {
    enum class Kind {
        Exited,     // `code` is its exit status
        Signalled,  // `code` is the signal that ended it
        Unknown,    // it has ended, or is no longer watched, but how is not known
        NotStarted, // `detail` says why
    };
    Kind kind = Kind::Unknown;
    int code = 0;
    QString detail;

    bool succeeded() const { return kind == Kind::Exited && code == 0; }
    // "exit status 3", "ended by signal 9", ...
    QString describe() const;
};

} // namespace kadrix
