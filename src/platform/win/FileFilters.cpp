// Not compiled yet: the Windows twin of posix/FileFilters.cpp, its starting
// point. src/platform/CMakeLists.txt is to list it for WIN32.
#include "platform/FileFilters.h"

namespace kadrix {

// The host's file dialog reads "*.*" as the classic one did: every file.
QStringList hostFileFilters(QStringList filters)
{
    return filters;
}

} // namespace kadrix
