#include "TestFiles.h"

#include "HostFiles.h"
#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"
#include "platform/OpenFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

namespace kadrix::test {

// Each step of the path is made through the program's own file layer, so
// that a name that is no UTF-8 reaches the disk byte for byte.
void makeDirectory(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    for (qsizetype slash = clean.indexOf(u'/', 1); slash > 0;
         slash = clean.indexOf(u'/', slash + 1)) {
        const QString step = clean.left(slash);
        const int error = createDirectory(step);
        if (error != 0 && error != EEXIST && !step.endsWith(u':'))
            qFatal("cannot create directory %s: %s", qPrintable(step), strerror(error));
    }
    const int error = createDirectory(clean);
    if (error != 0 && error != EEXIST)
        qFatal("cannot create directory %s", qPrintable(clean));
}

void writeFile(const QString& path, const QByteArray& contents)
{
    makeDirectory(QFileInfo(path).absolutePath());
    if (!writeWholeFile(path, contents))
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString& path)
{
    UniqueFd file;
    FileStatus status;
    if (openRegular(encodeNativeName(path), OpenAccess::Read, OpenLinks::Follow, file, status) != 0)
        return {};
    QByteArray contents;
    char buffer[65536];
    for (qint64 got; (got = readSome(file.get(), buffer, sizeof buffer)) > 0;)
        contents.append(buffer, got);
    return contents;
}

QStringList namesToCompare(QStringList names)
{
    if (namesIgnoreLetterCase()) {
        for (QString& name : names)
            name = name.toLower();
    }
    return names;
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
