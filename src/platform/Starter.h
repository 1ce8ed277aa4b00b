#pragma once

#include "platform/StartRequest.h"

namespace kadrix {

// Starts companion programs and system tools without waiting for them.
class Starter {
public:
    virtual ~Starter() = default;

    // Returns what the platform gives for the start (the process id), or 0
    // when nothing was started. A start that cannot be made is reported to
    // the user here, and the front-end goes on.
    virtual double start(const StartRequest& request) = 0;
};

} // namespace kadrix
