#include "platform/PathLookup.h"

#include "platform/DirectoryNames.h"
#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"

#include <QDir>

#include <algorithm>

namespace kadrix {

QString joinPath(const QString& directory, const QString& name)
{
    if (directory.isEmpty())
        return name;
    return directory + QLatin1Char('/') + name;
}

bool isFileSystemRoot(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QString cleaned = QDir::cleanPath(QDir::fromNativeSeparators(path));
    return QDir(cleaned).isRoot() && QDir::isAbsolutePath(cleaned);
}

namespace {

QString lookupDirectoryOf(const QString& resolved, bool absolute)
{
    if (resolved.isEmpty())
        return absolute ? QStringLiteral("/") : currentDirectory();
    return QDir::isAbsolutePath(resolved)
               ? QDir::cleanPath(resolved)
               : QDir::cleanPath(currentDirectory() + QLatin1Char('/') + resolved);
}

} // namespace

QStringList entriesLike(const QString& directory, const QString& name,
                        const ListedDirectory* listed)
{
    QStringList found = listed && listed->lists(directory) ? listed->names->entriesLike(name)
                                                           : namesLike(directory, name);
    // Of several that differ only in case, always the same one is taken.
    const bool exact = !found.isEmpty() && found.constFirst() == name;
    std::sort(found.begin() + (exact ? 1 : 0), found.end());
    return found;
}

QString resolvePathCase(const QString& path, const ListedDirectory* listed)
{
    const QString normalized = QDir::fromNativeSeparators(path);
    if (normalized.isEmpty() || pathExists(normalized))
        return normalized;

    const bool absolute = normalized.startsWith(QLatin1Char('/'));
    const QStringList parts = normalized.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString resolved = absolute ? QStringLiteral("/") : QString();
    bool matching = true;
    for (const QString& part : parts) {
        QString component = part;
        if (matching && part != QLatin1String(".") && part != QLatin1String("..")) {
            const QString candidate = resolved.isEmpty() || resolved.endsWith(QLatin1Char('/'))
                                          ? resolved + part
                                          : resolved + QLatin1Char('/') + part;
            if (!pathExists(candidate)) {
                const QStringList found =
                    entriesLike(lookupDirectoryOf(resolved, absolute), part, listed);
                matching = !found.isEmpty();
                if (matching)
                    component = found.constFirst();
            }
        }
        if (!resolved.isEmpty() && !resolved.endsWith(QLatin1Char('/')))
            resolved += QLatin1Char('/');
        resolved += component;
    }
    if (normalized.endsWith(QLatin1Char('/')) && !resolved.endsWith(QLatin1Char('/')))
        resolved += QLatin1Char('/');
    return resolved;
}

} // namespace kadrix
