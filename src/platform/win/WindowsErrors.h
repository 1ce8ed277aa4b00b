#pragma once

#include <QString>

namespace kadrix {

// The system's own description of a Windows error number, with the number:
// "The system cannot find the file specified. (2)".
QString describeWindowsError(unsigned long error);

} // namespace kadrix
