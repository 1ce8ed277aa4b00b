#include "FakeStarter.h"

namespace kadrix {

QDebug operator<<(QDebug debug, const StartRequest& request)
{
    const QDebugStateSaver saver(debug);
    return debug.nospace() << (request.kind == StartKind::Shell ? "Shell" : "Command") << '{'
                           << request.program << ", " << request.arguments << ", "
                           << request.workingDirectory << ", " << request.showCode << ", "
                           << request.commandText << '}';
}

} // namespace kadrix

namespace kadrix::test {

double FakeStarter::start(const StartRequest& request)
{
    requests.push_back(request);
    return failing ? 0 : nextProcessId++;
}

qint64 FakeStarter::startWatched(const StartRequest& request)
{
    requests.push_back(request);
    lastWatched = failing ? 0 : static_cast<qint64>(requests.size());
    return lastWatched;
}

} // namespace kadrix::test
