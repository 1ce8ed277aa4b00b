#include "platform/HostStarter.h"

#include "platform/ProcessStarter.h"

namespace kadrix {

std::unique_ptr<Starter> makeHostStarter(Messages& messages)
{
    return std::make_unique<ProcessStarter>(messages);
}

} // namespace kadrix
