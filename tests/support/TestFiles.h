#pragma once

#include <QByteArray>
#include <QString>

namespace kadrix::test {

// Writes `contents` to `path`, creating the directories on the way; both
// take the path byte for byte as the program holds it (NativeNames.h).
void writeFile(const QString& path, const QByteArray& contents = {});
QByteArray readFile(const QString& path);
void makeDirectory(const QString& path);

// True when the file system denies this process what permissions deny:
// false for root, whom read-only files and directories do not stop.
bool permissionsAreEnforced();

} // namespace kadrix::test
