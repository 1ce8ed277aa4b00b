#include "browser/DirectoryListing.h"

#include "browser/FilePattern.h"
#include "platform/DirectoryNames.h"
#include "platform/NativeNames.h"

#include <QFile>

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
        keyed.push_back({caseFolded(name), std::move(name)});
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

DirectoryListing readDirectory(const QString& path, const QStringList& patterns)
{
    DirectoryListing listing;
    listing.path = path;
    QStringList files;
    auto names = std::make_shared<DirectoryNames>();
    listing.problem = scanDirectory(path, [&](std::string_view name, bool directory) {
        names->add(name, directory);
        (directory ? listing.subdirectories : files)
            .append(
                decodeNativeName(QByteArrayView(name.data(), static_cast<qsizetype>(name.size()))));
    });
    names->indexFoldedNames();
    listing.names = std::move(names);
    listing.readable = listing.problem.isEmpty();
    sortNames(files);
    sortNames(listing.subdirectories);
    for (const QString& pattern : patterns)
        listing.matching.append({pattern, FilePattern(pattern).filter(files)});
    return listing;
}

const QStringList* DirectoryListing::filesMatching(const QString& pattern) const
{
    for (const MatchingFiles& match : matching) {
        if (match.pattern == pattern)
            return &match.names;
    }
    return nullptr;
}

} // namespace kadrix
