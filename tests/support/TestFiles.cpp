#include "TestFiles.h"

#include "platform/NativeNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace kadrix::test {

void makeDirectory(const QString& path)
{
    const QByteArray bytes = encodeNativeName(QDir::cleanPath(path));
    for (qsizetype slash = 1; slash >= 0; slash = bytes.indexOf('/', slash + 1)) {
        const QByteArray step = slash == 0 ? bytes : bytes.left(slash);
        if (!step.isEmpty() && ::mkdir(step.constData(), 0755) != 0 && errno != EEXIST)
            qFatal("cannot create directory %s", step.constData());
    }
    if (::mkdir(bytes.constData(), 0755) != 0 && errno != EEXIST)
        qFatal("cannot create directory %s", bytes.constData());
}

void writeFile(const QString& path, const QByteArray& contents)
{
    makeDirectory(QFileInfo(path).absolutePath());
    const int fd = ::open(encodeNativeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) ||
        file.write(contents) != contents.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString& path)
{
    const int fd = ::open(encodeNativeName(path).constData(), O_RDONLY);
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
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
