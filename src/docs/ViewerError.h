#pragma once

#include "platform/Messages.h"

namespace kadrix {

// The text viewer's error codes and the message box each one shows.
enum ViewerErrorCode : int {
    kViewerFileInUse = 0,
    kViewerFileNotFound = 1,
    kViewerNoFileName = 3,
};

MessageBox viewerErrorBox(int code);

} // namespace kadrix
