#pragma once

#include <QString>

#include <array>

namespace kadrix {

// The dialog's choices that become switches for the animation program.
// Check boxes hold their classic values: 0 unchecked, 1 checked, 2 grayed.
struct OptionChoices {
    int readOnly = 0;
    int hideMissing = 0;
    int filteredData = 0;
    std::array<bool, 3> views{true, false, false}; // X-Y, X-Z, Y-Z
    bool filteredSelected = false;
    int reverseX = 2;
};

// The switch text, each token followed by one blank, in this order: "/R ",
// "/Z ", "/F " (checked or grayed), the views "/V1 " "/V2 " "/V3 ", "/F "
// again for the filtered-data button, and "/X " when reversal is checked.
QString buildOptionSwitches(const OptionChoices& choices);

// "/S", the reference-system code and a blank; nothing for code 0.
QString referenceSystemSwitch(int refSystem);

} // namespace kadrix
