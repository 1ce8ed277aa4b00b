#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace kadrix::test {

void makeDirectory(const QString& path)
{
    if (!QDir().mkpath(path))
        qFatal("cannot create directory %s", qPrintable(path));
}

void writeFile(const QString& path, const QByteArray& contents)
{
    makeDirectory(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(contents) != contents.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool permissionsAreEnforced()
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("probe"));
    writeFile(path, "x");
    QFile::setPermissions(path, QFileDevice::Permissions());
    QFile file(path);
    const bool denied = !file.open(QIODevice::ReadOnly);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return denied;
}

} // namespace kadrix::test
