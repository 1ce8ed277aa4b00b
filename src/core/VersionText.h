#pragma once

#include <QString>

namespace kadrix {

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// The version as the user sees it: major, ".", the minor number in at least
// two digits, " (", the revision in at least three digits, ")"; for 1.6.0.5
// that is "1.06 (005)".
QString versionTextOf(const ProgramVersion& version);

// This build's own version numbers.
ProgramVersion buildVersion();

} // namespace kadrix
