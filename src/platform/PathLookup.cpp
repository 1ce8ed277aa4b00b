#include "platform/PathLookup.h"

#include <QDir>
#include <QFileInfo>

namespace kadrix {

QString joinPath(const QString& directory, const QString& name)
{
    if (directory.isEmpty())
        return name;
    return directory + QDir::separator() + name;
}

bool isFileSystemRoot(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QString cleaned = QDir::cleanPath(QDir::fromNativeSeparators(path));
    return QDir(cleaned).isRoot() && QDir::isAbsolutePath(cleaned);
}

#ifdef Q_OS_WIN

QString resolvePathCase(const QString& path)
{
    return path; // the file system itself ignores letter case
}

#else

namespace {

QString findEntryIgnoringCase(const QString& directory, const QString& name)
{
    const QStringList entries = QDir(directory).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

} // namespace

QString resolvePathCase(const QString& path)
{
    const QString normalized = QDir::fromNativeSeparators(path);
    if (normalized.isEmpty() || QFileInfo::exists(normalized))
        return normalized;

    const bool absolute = normalized.startsWith(QLatin1Char('/'));
    const QStringList parts = normalized.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString resolved = absolute ? QStringLiteral("/") : QString();
    QString lookupDirectory = absolute ? QStringLiteral("/") : QStringLiteral(".");
    bool matching = true;
    for (const QString& part : parts) {
        QString component = part;
        if (matching && part != QLatin1String(".") && part != QLatin1String("..")) {
            const QString candidate = lookupDirectory + QLatin1Char('/') + part;
            if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink()) {
                component = findEntryIgnoringCase(lookupDirectory, part);
                if (component.isEmpty()) {
                    component = part;
                    matching = false;
                }
            }
        }
        if (!resolved.isEmpty() && !resolved.endsWith(QLatin1Char('/')))
            resolved += QLatin1Char('/');
        resolved += component;
        lookupDirectory += QLatin1Char('/') + component;
    }
    if (normalized.endsWith(QLatin1Char('/')) && !resolved.endsWith(QLatin1Char('/')))
        resolved += QLatin1Char('/');
    return resolved;
}

#endif

} // namespace kadrix
