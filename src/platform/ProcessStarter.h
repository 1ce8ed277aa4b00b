#pragma once

#include "platform/Starter.h"

namespace kadrix {

class Messages;

// Starts programs as detached processes with QProcess, never waiting for
// them. A start that cannot be made is reported in a message box.
class ProcessStarter final : public Starter {
public:
    explicit ProcessStarter(Messages& messages);

    double start(const StartRequest& request) override;

private:
    Messages& messages_;
};

} // namespace kadrix
