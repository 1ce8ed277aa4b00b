#pragma once

#include <QString>
#include <QStringList>

namespace kadrix {

// The outcome of a detached start: the process id, or why nothing started.
// A watched start also gives a descriptor that turns readable when the
// program has ended (see ProgramWatch), and the process that watches it;
// on Windows the program's own process handle, and no watcher.
struct DetachedStart {
    qint64 processId = 0;
    QString failure;
    qintptr endReport = -1;
    qint64 watcherId = 0;
};

enum class StartWatch { No, Yes };

// Starts `program` with `arguments` in `workingDirectory` (the current one
// when empty) as a process of its own session that the front-end never
// waits for, its input from /dev/null. Every name goes to the system byte
// for byte as the program holds it (see NativeNames.h): a file whose name
// is no UTF-8 is the file the started program opens.
// Watched, the child in between stays as a small process holding no
// descriptor of the front-end's but the report of the end, waits for the
// program and writes its wait status there; the program is still in a
// session of its own and outlives the front-end.
DetachedStart startDetached(const QString& program, const QStringList& arguments,
                            const QString& workingDirectory, StartWatch watch = StartWatch::No);

// For tests: called in the child that starts the program, with the
// program's process id, before that child reports the id, so that a test
// can let the program report a failed start first.
void setBeforeIdReported(void (*hook)(qint64 processId));

} // namespace kadrix
