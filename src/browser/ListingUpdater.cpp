#include "browser/ListingUpdater.h"

#include "browser/FilePattern.h"
#include "platform/NativeNames.h"

#include <algorithm>

namespace kadrix {

namespace {

// How far ahead in the reading before a name is looked for, so that a few
// names gone between two readings keep the rest in order. After as many
// names in a row that were not met, every name is looked up.
constexpr size_t kLookAhead = 8;
// Up to this many names are put into a list one at a time; more are merged.
constexpr qsizetype kFewNames = 64;

QString decoded(std::string_view name)
{
    return decodeNativeName(QByteArrayView(name.data(), static_cast<qsizetype>(name.size())));
}

QStringList patternsOf(const DirectoryListing& listing)
{
    QStringList patterns;
    for (const MatchingFiles& match : listing.matching)
        patterns.append(match.pattern);
    return patterns;
}

} // namespace

bool ListingUpdater::Changes::any() const
{
    return !newFiles.isEmpty() || !newSubdirectories.isEmpty() || !goneFiles.isEmpty() ||
           !goneSubdirectories.isEmpty();
}

void ListingUpdater::Changes::sort()
{
    for (QStringList* names : {&newFiles, &newSubdirectories, &goneFiles, &goneSubdirectories})
        sortNames(*names);
}

DirectoryListing ListingUpdater::list(const QString& path, const QStringList& patterns)
{
    if (previous_.path != path || !previous_.readable)
        forget(path, true, {});
    Comparison comparison;
    comparison.current.reserve(previousNames_->size() + 64, previousNames_->bytes() + 1024);
    const QString problem = scan_(
        path, [&](std::string_view name, bool directory) { compare(comparison, name, directory); });
    if (!problem.isEmpty()) {
        forget(path, false, problem);
        return previous_;
    }
    for (size_t index = comparison.cursor; index < previousNames_->size(); ++index)
        comparison.skipped.push_back(index);
    Changes changes = changesOf(comparison);
    keepNames(comparison);
    if (!changes.any() && patternsOf(previous_) == patterns)
        return previous_;
    changes.sort();
    return applied(changes, patterns);
}

// The names of this reading are kept for the next one to be compared with,
// and indexed for the listing; names read in the very order of the reading
// before keep that reading's names and index.
void ListingUpdater::keepNames(Comparison& comparison)
{
    comparison.before.reset(); // it points into the names about to go
    if (comparison.unexpected.empty() && comparison.skipped.empty())
        return;
    comparison.current.indexFoldedNames();
    previousNames_ = std::make_shared<const DirectoryNames>(std::move(comparison.current));
    previous_.names = previousNames_;
}

void ListingUpdater::forget(const QString& path, bool readable, const QString& problem)
{
    previous_ = {path, {}, readable, problem, {}, {}};
    previousNames_ = std::make_shared<DirectoryNames>();
    previous_.names = previousNames_;
    files_.clear();
}

void ListingUpdater::compare(Comparison& comparison, std::string_view name, bool directory) const
{
    comparison.current.add(name, directory);
    const std::optional<size_t> place = placeBefore(comparison, name, directory);
    if (!place) {
        ++comparison.misses;
        comparison.unexpected.push_back(comparison.current.size() - 1);
        return;
    }
    for (size_t passed = comparison.cursor; passed < *place; ++passed)
        comparison.skipped.push_back(passed);
    comparison.cursor = *place + 1;
    comparison.misses = 0;
}

// Where `name` stands in the reading before, at or after the cursor: it is
// looked for among the next few names, or, once names keep being missed (a
// run of names gone, or an order that changed), looked up.
std::optional<size_t> ListingUpdater::placeBefore(Comparison& comparison, std::string_view name,
                                                  bool directory) const
{
    const DirectoryNames& before = *previousNames_;
    const size_t end = std::min(comparison.cursor + kLookAhead, before.size());
    for (size_t at = comparison.cursor; at < end; ++at) {
        if (before.holds(at, name, directory))
            return at;
    }
    if (comparison.misses < kLookAhead)
        return std::nullopt;
    if (!comparison.before) {
        comparison.before.emplace(before.size());
        for (size_t at = 0; at < before.size(); ++at)
            comparison.before->emplace(before.name(at), at);
    }
    const auto found = comparison.before->find(name);
    if (found == comparison.before->end() || found->second < comparison.cursor ||
        before.isDirectory(found->second) != directory)
        return std::nullopt;
    return found->second;
}

// A name met out of order in both readings is neither new nor gone; one
// that changed from file to directory or back is gone from the one list and
// new in the other.
ListingUpdater::Changes ListingUpdater::changesOf(const Comparison& comparison) const
{
    const DirectoryNames& before = *previousNames_;
    NameIndex skipped(comparison.skipped.size());
    for (const size_t index : comparison.skipped)
        skipped.emplace(before.name(index), index);
    Changes changes;
    for (const size_t index : comparison.unexpected) {
        const std::string_view name = comparison.current.name(index);
        const bool directory = comparison.current.isDirectory(index);
        const auto met = skipped.find(name);
        if (met != skipped.end() && before.isDirectory(met->second) == directory) {
            skipped.erase(met);
            continue;
        }
        (directory ? changes.newSubdirectories : changes.newFiles).append(decoded(name));
    }
    for (const auto& [name, index] : skipped) {
        (before.isDirectory(index) ? changes.goneSubdirectories : changes.goneFiles)
            .append(decoded(name));
    }
    return changes;
}

DirectoryListing ListingUpdater::applied(const Changes& changes, const QStringList& patterns)
{
    mergeNames(files_, changes.goneFiles, changes.newFiles);
    DirectoryListing listing{previous_.path, previous_.subdirectories, true, {}, {},
                             previousNames_};
    mergeNames(listing.subdirectories, changes.goneSubdirectories, changes.newSubdirectories);
    for (const QString& text : patterns) {
        const FilePattern pattern(text);
        const QStringList* before = previous_.filesMatching(text);
        if (!before) {
            listing.matching.append({text, pattern.filter(files_)});
            continue;
        }
        QStringList names = *before;
        mergeNames(names, pattern.filter(changes.goneFiles), pattern.filter(changes.newFiles));
        listing.matching.append({text, names});
    }
    previous_ = listing;
    return listing;
}

void mergeNames(QStringList& sorted, const QStringList& gone, const QStringList& added)
{
    if (!gone.isEmpty()) {
        qsizetype next = 0;
        sorted.removeIf([&](const QString& name) {
            const bool isGone = next < gone.size() && name == gone.at(next);
            next += isGone ? 1 : 0;
            return isGone;
        });
    }
    if (added.size() <= kFewNames) {
        for (const QString& name : added)
            sorted.insert(std::lower_bound(sorted.cbegin(), sorted.cend(), name, namesInOrder) -
                              sorted.cbegin(),
                          name);
        return;
    }
    QStringList merged;
    merged.reserve(sorted.size() + added.size());
    auto from = sorted.cbegin();
    for (const QString& name : added) {
        const auto to = std::lower_bound(from, sorted.cend(), name, namesInOrder);
        std::copy(from, to, std::back_inserter(merged));
        merged.append(name);
        from = to;
    }
    std::copy(from, sorted.cend(), std::back_inserter(merged));
    sorted = std::move(merged);
}

} // namespace kadrix
