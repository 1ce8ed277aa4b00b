#pragma once

#include <QString>

namespace kadrix {

// Joins a directory and a name with the native separator. An empty
// directory gives the name alone; a directory that already ends in a
// separator gives a doubled one, which the file system reads as one.
QString joinPath(const QString& directory, const QString& name);

// The program treats file names without regard to letter case. On a file
// system that tells case apart, this finds the path as it is on the disk:
// each component that does not exist as written is matched against its
// directory's entries regardless of case, an exact match preferred. A
// component with no match ends the lookup; the rest is kept as written.
QString resolvePathCase(const QString& path);

// True for a path that names the root of the file system ("/", or a drive
// root such as "C:\" on Windows).
bool isFileSystemRoot(const QString& path);

} // namespace kadrix
