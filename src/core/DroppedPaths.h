#pragma once

#include <QStringList>

class QMimeData;

namespace kadrix {

// The paths of the files and directories that dropped or pasted data names,
// in its order, each as text standing for its bytes (see NativeNames.h): the
// URLs of a file manager (text/uri-list, or GNOME's copied files), else each
// line of plain text that is an absolute path or a file URL. A URL's
// percent-encoded bytes are kept as they are, whether UTF-8 or not; a URL of
// another computer or of anything but a file is left out.
QStringList droppedPaths(const QMimeData& data);

} // namespace kadrix
