#pragma once

#include "platform/ProgramEnd.h"
#include "platform/StartRequest.h"

#include <QObject>

namespace kadrix {

// Starts companion programs and system tools without waiting for them.
class Starter : public QObject {
    Q_OBJECT

public:
    // Returns what the platform gives for the start (the process id, or for
    // a start still being made in the background a positive number standing
    // for it), or 0 when nothing was started. A start that cannot be made is
    // reported to the user, and the front-end goes on.
    virtual double start(const StartRequest& request) = 0;
    // Starts as `start` does and watches the program (or Wine, for a Windows
    // program) until it ends, then says how in `programEnded`. Returns the
    // number of the start that the signal carries, or 0 when nothing was
    // started (the user has been told, as by `start`).
    virtual qint64 startWatched(const StartRequest& request) = 0;

Q_SIGNALS:
    // A start that takes a while is under way and `text` says so; when none
    // is any more, the empty text, or what the user should know about the
    // last one (that it started without its log).
    void progressChanged(const QString& text);
    // A program started by `startWatched` has ended; never before that call
    // has returned.
    void programEnded(qint64 start, const kadrix::ProgramEnd& end);
};

} // namespace kadrix
