#include "platform/WorkerPriority.h"

#include <windows.h>

namespace kadrix {

void yieldToTheUserInterface()
{
    // A failure only leaves the thread as it was.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    SwitchToThread();
}

} // namespace kadrix
