#include "HostFiles.h"

#include "platform/NativeNames.h"

#include <QFile>

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

} // namespace kadrix::test
