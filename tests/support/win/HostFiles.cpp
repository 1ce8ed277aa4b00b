#include "HostFiles.h"

#include <QFile>

namespace kadrix::test {

// Written through the name, never deleting it first: a name whose file a
// reader still holds open stays taken until the reader lets go.
bool writeWholeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(contents) == contents.size();
}

bool makeNamedPipe(const QString&)
{
    return false;
}

bool makeSymbolicLink(const QString&, const QString&)
{
    return false;
}

QStringList waitingDevices()
{
    return {};
}

bool namesIgnoreLetterCase()
{
    return true;
}

bool namesMayBeAnyBytes()
{
    return false;
}

} // namespace kadrix::test
