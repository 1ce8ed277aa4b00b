#pragma once

namespace kadrix {

// Lowers the calling thread's priority a little, so that on a busy machine
// the user-interface thread gets the processor first when both want it.
void yieldToTheUserInterface();

} // namespace kadrix
