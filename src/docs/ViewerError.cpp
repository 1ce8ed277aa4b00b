#include "docs/ViewerError.h"

namespace kadrix {

MessageBox viewerErrorBox(int code)
{
    const QString title = QStringLiteral("Text Viewer");
    switch (code) {
    case kViewerFileInUse:
        return {QStringLiteral("Error trying to open file.  It may be already opened."), title,
                MessageButtons::Ok, MessageIcon::Information};
    case kViewerFileNotFound:
        return {QStringLiteral("Error finding file."), title, MessageButtons::Ok,
                MessageIcon::Exclamation};
    case kViewerNoFileName:
        return {QStringLiteral("Error.  No filename was given."), title, MessageButtons::Ok,
                MessageIcon::Information};
    default:
        return {QStringLiteral("Program error."), title, MessageButtons::Ok,
                MessageIcon::Exclamation};
    }
}

} // namespace kadrix
