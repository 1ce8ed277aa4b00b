#pragma once

namespace kadrix {

struct AppState;
class Messages;

// True when no trial is selected; the user has then been told to select one
// and the caller must not go on.
bool TestTrial(const AppState& state, Messages& messages);

} // namespace kadrix
