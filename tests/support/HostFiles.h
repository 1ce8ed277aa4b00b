#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class QProcess;

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
// `names` as this host's file system tells them apart: all lower case
// where it ignores letter case, for comparing the files they name.
QStringList namesToCompare(QStringList names);
// Runs a command of this host's shell in `directory`, as another program
// changing files there: `posix` for sh, `windows` for cmd. True when it
// ran and succeeded.
bool runShellCommand(const QString& directory, const QString& posix, const QString& windows);
// Whether a directory that is a process's current directory can be removed.
bool currentDirectoryCanBeRemoved();
// Whether this is a Windows program that Wine runs: where Wine differs
// from Windows, a test says how and leaves that case out.
bool underWine();
// Whether the Linux stand-in companion (tools/standin) runs on this host.
bool linuxStandInRuns();
// Whether a name may be any bytes, UTF-8 or not; Windows names are UTF-16.
bool namesMayBeAnyBytes();

// Another program that holds a file open, sharing it with no one, and
// locked, until this goes. On Windows that is the Windows stand-in
// companion; elsewhere none is started and holds() is false.
class OtherProgramHolding {
public:
    explicit OtherProgramHolding(const QString& path);
    ~OtherProgramHolding();
    OtherProgramHolding(const OtherProgramHolding&) = delete;
    OtherProgramHolding& operator=(const OtherProgramHolding&) = delete;
    bool holds() const { return process_ != nullptr; }

private:
    std::unique_ptr<QProcess> process_;
};

inline constexpr char kLinuxStandIn[] =
    "runs the Linux stand-in companion; the Windows starts are proven with the Windows "
    "stand-in by tst_e2e_windows";
inline constexpr char kCurrentDirectoryStays[] =
    "Windows removes no directory that a process has as its current directory";
inline constexpr char kNoNamedPipes[] = "Windows keeps no named pipe under a file name";
inline constexpr char kNamesAreUtf16[] =
    "Windows names are UTF-16: none is bytes that are no UTF-8";
inline constexpr char kOneFileForBothCases[] =
    "Windows file systems hold one file for names that differ in letter case only";

} // namespace kadrix::test
