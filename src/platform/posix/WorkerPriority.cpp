#include "platform/WorkerPriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kadrix {

void yieldToTheUserInterface()
{
    // On Linux a thread has a nice value of its own; a failure only leaves
    // the thread as it was.
    const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
    ::setpriority(PRIO_PROCESS, thread, ::getpriority(PRIO_PROCESS, thread) + 5);
}

} // namespace kadrix
