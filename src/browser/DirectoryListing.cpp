#include "browser/DirectoryListing.h"

#include "browser/FilePattern.h"
#include "platform/DirectoryNames.h"
#include "platform/FileErrors.h"
#include "platform/NativeNames.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace kadrix {

namespace {

enum class EntryKind { Other, File, Directory };

EntryKind kindOfStatus(int directoryFd, const char* name)
{
    struct stat status {};
    if (::fstatat(directoryFd, name, &status, 0) != 0)
        return EntryKind::Other;
    if (S_ISREG(status.st_mode))
        return EntryKind::File;
    return S_ISDIR(status.st_mode) ? EntryKind::Directory : EntryKind::Other;
}

// Pipes, sockets, devices and broken links are system entries, which the
// lists leave out; a link counts as what it points to.
EntryKind kindOf(int directoryFd, const dirent& entry)
{
    switch (entry.d_type) {
    case DT_REG:
        return EntryKind::File;
    case DT_DIR:
        return EntryKind::Directory;
    case DT_LNK:
    case DT_UNKNOWN:
        return kindOfStatus(directoryFd, entry.d_name);
    default:
        return EntryKind::Other;
    }
}

} // namespace

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

QString scanDirectory(const QString& path, const EntryVisitor& visit)
{
    DIR* stream = ::opendir(encodeNativeName(path).constData());
    if (!stream) {
        const bool missing = errno == ENOENT || errno == ENOTDIR;
        return describeFileError(missing ? kPathNotFound : kPermissionDenied);
    }
    const int fd = ::dirfd(stream);
    while (const dirent* entry = ::readdir(stream)) {
        if (entry->d_name[0] == '.') // hidden, and the directory and its parent
            continue;
        const EntryKind kind = kindOf(fd, *entry);
        if (kind != EntryKind::Other)
            visit(entry->d_name, kind == EntryKind::Directory);
    }
    ::closedir(stream);
    return {};
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
