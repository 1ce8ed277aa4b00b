#include "platform/WineRegistry.h"

#include <QDir>
#include <QFileInfo>

namespace kadrix {

namespace {

bool holds(const QString& directory, const QString& path)
{
    return directory == QLatin1String("/") || path == directory ||
           path.startsWith(directory + QLatin1Char('/'));
}

// A string value written as its bytes (UTF-16LE and the closing zero, as
// REG_SZ holds it): no character of a name, not even a line break, a quote
// or a bracket, can end the value early or begin a line of its own.
QString registryString(const QString& text)
{
    QStringList bytes;
    for (const QChar c : text + QChar(0)) {
        for (const uint byte : {c.unicode() & 0xFFu, uint(c.unicode()) >> 8})
            bytes.append(QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')));
    }
    return QStringLiteral("hex(1):") + bytes.join(QLatin1Char(','));
}

} // namespace

QString winePrefixOf(const QProcessEnvironment& environment)
{
    const QString named = environment.value(QStringLiteral("WINEPREFIX"));
    if (!named.isEmpty())
        return named;
    return environment.value(QStringLiteral("HOME"), QDir::homePath()) + QStringLiteral("/.wine");
}

QList<WineDrive> drivesOf(const QString& prefix)
{
    QList<WineDrive> drives;
    const QDir devices(prefix + QStringLiteral("/dosdevices"));
    for (const QFileInfo& entry : devices.entryInfoList(QDir::System | QDir::AllEntries)) {
        const QString name = entry.fileName();
        if (name.size() != 2 || name.at(1) != QLatin1Char(':') || !name.at(0).isLetter())
            continue;
        const QString target = entry.canonicalFilePath();
        if (!target.isEmpty())
            drives.append({name.at(0).toUpper(), target});
    }
    return drives;
}

QString windowsPathOf(const QString& unixPath, const QList<WineDrive>& drives)
{
    const QString canonical = QFileInfo(unixPath).canonicalFilePath();
    const QString path = canonical.isEmpty() ? QDir::cleanPath(unixPath) : canonical;
    WineDrive best{QLatin1Char('Z'), QStringLiteral("/")};
    for (const WineDrive& drive : drives) {
        if (holds(drive.directory, path) && drive.directory.size() > best.directory.size())
            best = drive;
    }
    QString rest = best.directory == QLatin1String("/") ? path : path.mid(best.directory.size());
    rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return best.letter + QLatin1Char(':') + (rest.isEmpty() ? QStringLiteral("\\") : rest);
}

QByteArray settingsImportFile(const QString& dataDirectory, const QString& programDirectory)
{
    const QString text =
        QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Movarta\\"
                       "Startup]\r\n\"Datadir\"=%1\r\n\"Progdir\"=%2\r\n")
            .arg(registryString(dataDirectory), registryString(programDirectory));
    // UTF-16 with its byte order mark, as Wine's "reg export" writes it.
    QByteArray file("\xFF\xFE", 2);
    for (const QChar c : text)
        file.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return file;
}

} // namespace kadrix
