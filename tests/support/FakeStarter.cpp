#include "FakeStarter.h"

namespace kadrix::test {

double FakeStarter::start(const StartRequest& request)
{
    requests.push_back(request);
    return failing ? 0 : nextProcessId++;
}

} // namespace kadrix::test
