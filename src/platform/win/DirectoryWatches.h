#pragma once

#include <QString>

namespace kadrix {

// Adds the directory `path` to the DirectoryEvents whose descriptor() is
// `events`, telling it of the changes in `filter` (FILE_NOTIFY_CHANGE_...):
// the watch, or -1. Any thread may add; a change made from now on is
// reported, on the thread of the DirectoryEvents, once it gets there.
int addDirectoryWatch(int events, const QString& path, unsigned filter);

} // namespace kadrix
