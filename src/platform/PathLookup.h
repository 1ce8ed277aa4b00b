#pragma once

#include <QString>
#include <QStringList>

namespace kadrix {

struct ListedDirectory;

// Joins a directory and a name with a slash, which every host reads as a
// separator (Windows too; a path is shown or handed to a Windows program
// with its own separators, QDir::toNativeSeparators). An empty
// directory gives the name alone; a directory that already ends in a
// separator gives a doubled one, which the file system reads as one.
QString joinPath(const QString& directory, const QString& name);

// The program treats file names without regard to letter case, as the
// classic platform did: A to Z and a to z alike, no other letters. On a file
// system that tells case apart, this finds the path as it is on the disk:
// each component that does not exist as written is matched against its
// directory's entries regardless of case, an exact match preferred. A
// component with no match ends the lookup; the rest is kept as written.
// Where `listed` is the directory a component lies in, its names serve and
// the directory is not read again.
QString resolvePathCase(const QString& path, const ListedDirectory* listed = nullptr);

// The entries of `directory` whose names equal `name` regardless of case, the
// one written exactly first; from `listed` when it lists that directory.
QStringList entriesLike(const QString& directory, const QString& name,
                        const ListedDirectory* listed = nullptr);

// True for a path that names the root of the file system ("/", or a drive
// root such as "C:\" on Windows).
bool isFileSystemRoot(const QString& path);

} // namespace kadrix
