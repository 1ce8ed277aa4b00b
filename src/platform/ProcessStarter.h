#pragma once

#include "platform/HostPrograms.h"
#include "platform/Starter.h"

namespace kadrix {

class Messages;

// Starts programs as detached processes with QProcess, never waiting for
// them. A start that cannot be made is reported in a message box.
class ProcessStarter final : public Starter {
public:
    explicit ProcessStarter(Messages& messages, HostPrograms hostPrograms = HostPrograms());

    double start(const StartRequest& request) override;

private:
    void reportFailure(const StartRequest& request, const QString& reason);

    Messages& messages_;
    HostPrograms hostPrograms_;
};

} // namespace kadrix
