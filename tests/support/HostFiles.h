#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What tests do to files that each host does its own way: writing a whole
// file, which on Windows must not delete a name a reader holds open, and
// placing among the user's files what is no file or directory: named
// pipes, symbolic links and devices; and whether names that differ only in
// letter case, or that are no UTF-8, can be on the disk. Windows keeps no pipe or device
// under a name in a directory and gives symbolic links only to those with a
// privilege the tests do not hold; there each maker answers false and the
// test leaves that case out.

namespace kadrix::test {

// Writes `contents` over the file `path`, or as a new file; the path is
// taken byte for byte (NativeNames.h).
bool writeWholeFile(const QString& path, const QByteArray& contents);

bool makeNamedPipe(const QString& path);
bool makeSymbolicLink(const QString& target, const QString& path);
// Devices that an open for reading could wait on for good.
QStringList waitingDevices();
// Whether "a.dg" and "A.dg" name one file.
bool namesIgnoreLetterCase();
// Whether a name may be any bytes, UTF-8 or not; Windows names are UTF-16.
bool namesMayBeAnyBytes();

inline constexpr char kNoNamedPipes[] = "Windows keeps no named pipe under a file name";
inline constexpr char kNamesAreUtf16[] =
    "Windows names are UTF-16: none is bytes that are no UTF-8";
inline constexpr char kOneFileForBothCases[] =
    "Windows file systems hold one file for names that differ in letter case only";

} // namespace kadrix::test
