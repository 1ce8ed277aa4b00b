#pragma once

#include <array>
#include <optional>

namespace kadrix {

// Which of the main window's trial commands a handler offers after what it
// did: each is enabled or disabled, or left as it was. The handlers decide;
// the main window, which owns the buttons, applies it.
struct TrialCommands {
    std::optional<bool> cmdEdit{};
    std::optional<bool> cmdView{};
    std::optional<bool> cmdAnimate{};
    std::optional<bool> cmdConvert{};
    std::optional<bool> cmdOptions{};
    std::array<std::optional<bool>, 3> mnuProgram{};
};

} // namespace kadrix
