#pragma once

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

Q_SIGNALS:
    // A start that takes a while is under way and `text` says so; when none
    // is any more, the empty text, or what the user should know about the
    // last one (that it started without its log).
    void progressChanged(const QString& text);
};

} // namespace kadrix
