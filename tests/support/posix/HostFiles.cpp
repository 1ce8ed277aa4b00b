#include "HostFiles.h"

#include "platform/NativeNames.h"

#include <QFile>
#include <QProcess>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kadrix::test {

bool writeWholeFile(const QString& path, const QByteArray& contents)
{
    const int fd = ::open(encodeNativeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QFile file;
    return fd >= 0 && file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) &&
           file.write(contents) == contents.size();
}

// The save tests of a Linux host hold a trial from a forked child.
OtherProgramHolding::OtherProgramHolding(const QString&) {}
OtherProgramHolding::~OtherProgramHolding() = default;

bool makeNamedPipe(const QString& path)
{
    return ::mkfifo(encodeNativeName(path).constData(), 0600) == 0;
}

bool makeSymbolicLink(const QString& target, const QString& path)
{
    return ::symlink(encodeNativeName(target).constData(), encodeNativeName(path).constData()) == 0;
}

QStringList waitingDevices()
{
    return {QStringLiteral("/dev/tty"), QStringLiteral("/dev/null")};
}

bool namesIgnoreLetterCase()
{
    return false;
}

bool namesMayBeAnyBytes()
{
    return true;
}

bool linuxStandInRuns()
{
    return true;
}

bool runShellCommand(const QString& directory, const QString& posix, const QString&)
{
    QProcess shell;
    shell.setWorkingDirectory(directory);
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), posix});
    return shell.waitForFinished(120000) && shell.exitStatus() == QProcess::NormalExit &&
           shell.exitCode() == 0;
}

bool currentDirectoryCanBeRemoved()
{
    return true;
}

bool underWine()
{
    return false;
}

} // namespace kadrix::test
