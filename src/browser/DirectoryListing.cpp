#include "browser/DirectoryListing.h"

#include "platform/FileErrors.h"

#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace kadrix {

void sortNames(QStringList& names)
{
    // Folding each name once and sorting the keys keeps large directories fast.
    struct Keyed {
        QString key;
        QString name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(static_cast<size_t>(names.size()));
    for (QString& name : names)
        keyed.push_back({name.toCaseFolded(), std::move(name)});
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        const int byKey = QString::compare(a.key, b.key, Qt::CaseSensitive);
        return byKey != 0 ? byKey < 0 : a.name < b.name;
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        names[static_cast<qsizetype>(i)] = std::move(keyed[i].name);
}

bool namesInOrder(const QString& a, const QString& b)
{
    const int byFolded = QString::compare(a, b, Qt::CaseInsensitive);
    return byFolded != 0 ? byFolded < 0 : a < b;
}

DirectoryListing readDirectory(const QString& path)
{
    DirectoryListing listing;
    listing.path = path;
    const QFileInfo directory(path);
    listing.readable = directory.isDir() && directory.isReadable();
    if (!listing.readable) {
        listing.problem = describeFileError(directory.isDir() ? kPermissionDenied : kPathNotFound);
        return listing;
    }
    QDirIterator entries(path, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo entry = entries.fileInfo();
        (entry.isDir() ? listing.subdirectories : listing.files).append(entry.fileName());
    }
    sortNames(listing.files);
    sortNames(listing.subdirectories);
    return listing;
}

} // namespace kadrix
