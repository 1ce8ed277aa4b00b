#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Questions to the file system about a path exactly as the program holds it
// (see NativeNames.h): Qt's own file classes would encode a name that is no
// UTF-8 into other bytes and ask about another file. None of them opens
// anything but directories, so none can wait on a pipe or a device.

namespace kadrix {

enum class PathKind { Missing, File, Directory, Other };

// What `path` names, following symbolic links; a broken link is Missing.
PathKind kindOfPath(const QString& path);
// Whether there is anything at all under `path`: a file, a directory, a
// special file or a link, broken or not.
bool pathExists(const QString& path);
bool isSymbolicLink(const QString& path);
// Whether the process may enter the directory `path` / read the file `path`.
bool mayEnter(const QString& path);
bool mayRead(const QString& path);
bool mayWrite(const QString& path);
bool mayExecute(const QString& path);

// The process's current directory, and making `path` current; the errno of
// a failure, else 0.
QString currentDirectory();
// `path` made absolute against the current directory and cleaned.
QString absolutePath(const QString& path);
// The file `path` leads to through every symbolic link on the way, as an
// absolute path without links; nothing when it leads nowhere.
QString resolvedPath(const QString& path);
int enterDirectory(const QString& path);

// The names of the regular files in `directory` (symbolic links followed)
// that end in `suffix`, letter case of A to Z ignored, in the order the
// system hands them out. Hidden names are left out; a directory that cannot
// be read gives none.
QStringList fileNamesEndingIn(const QString& directory, QByteArrayView suffix);

// The names in `directory` that are `name` but for the letter case of A
// to Z, `name` itself first when it is there, read now.
QStringList namesLike(const QString& directory, const QString& name);

// Name changes, each the errno of a failure or 0.
int removeNamedFile(const QString& path);
int createDirectory(const QString& path);
int removeDirectory(const QString& path);

} // namespace kadrix
