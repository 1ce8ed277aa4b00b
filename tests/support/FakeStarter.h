#pragma once

#include "platform/Starter.h"

#include <QDebug>

#include <vector>

namespace kadrix {

// Shows a request in a failed comparison.
QDebug operator<<(QDebug debug, const StartRequest& request);

} // namespace kadrix

namespace kadrix::test {

// Records every start request and answers with a made-up process id, or 0
// when told that starts fail.
class FakeStarter final : public Starter {
public:
    double start(const StartRequest& request) override;

    std::vector<StartRequest> requests;
    bool failing = false;
    double nextProcessId = 4242;

    const StartRequest& last() const { return requests.back(); }
};

} // namespace kadrix::test
