#pragma once

#include <memory>

namespace kadrix {

class Messages;
class Starter;

// The program starter of this system: on Linux the one that maps the
// classic programs to the desktop's and starts Windows programs through
// Wine; on Windows the classic shell and command starts themselves.
std::unique_ptr<Starter> makeHostStarter(Messages& messages);

} // namespace kadrix
