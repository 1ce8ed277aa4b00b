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
// when told that starts fail. A watched start ends when the test says so.
class FakeStarter final : public Starter {
public:
    double start(const StartRequest& request) override;
    qint64 startWatched(const StartRequest& request) override;
    void endLastWatched(const ProgramEnd& end) { Q_EMIT programEnded(lastWatched, end); }

    std::vector<StartRequest> requests;
    bool failing = false;
    double nextProcessId = 4242;
    qint64 lastWatched = 0;

    const StartRequest& last() const { return requests.back(); }
};

} // namespace kadrix::test
