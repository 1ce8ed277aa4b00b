#pragma once

#include "browser/DirectoryListing.h"
#include "platform/DirectoryNames.h"

#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace kadrix {

// Lists one directory again and again, as the browser refreshes it. Each
// reading is compared with the one before in the order the system hands
// the names out, which changes little between readings; only the names that
// came or went are decoded, sorted and matched. Re-reading a directory of a
// hundred thousand files thus costs little more than reading its entries,
// and an unchanged directory gives back the very lists of the reading
// before. Each listing carries the names it was made from, indexed
// regardless of letter case.
class ListingUpdater {
public:
    // How the entries are read: `scanDirectory`, or a stand-in that hands
    // them out in another order.
    using Scanner = std::function<QString(const QString& path, const EntryVisitor& visit)>;

    explicit ListingUpdater(Scanner scan = scanDirectory)
        : scan_(std::move(scan))
    {}

    DirectoryListing list(const QString& path, const QStringList& patterns);

private:
    struct Changes {
        QStringList newFiles;
        QStringList newSubdirectories;
        QStringList goneFiles;
        QStringList goneSubdirectories;
        bool any() const;
        void sort();
    };
    using NameIndex = std::unordered_map<std::string_view, size_t>;
    // Where the reading under way stands against the reading before.
    struct Comparison {
        DirectoryNames current;
        size_t cursor = 0;
        size_t misses = 0;               // names in a row not met in order
        std::vector<size_t> unexpected;  // names of `current` not met in order
        std::vector<size_t> skipped;     // names of the reading before passed over
        std::optional<NameIndex> before; // where each name of the reading before stands
    };

    void forget(const QString& path, bool readable, const QString& problem);
    void compare(Comparison& comparison, std::string_view name, bool directory) const;
    std::optional<size_t> placeBefore(Comparison& comparison, std::string_view name,
                                      bool directory) const;
    Changes changesOf(const Comparison& comparison) const;
    void keepNames(Comparison& comparison);
    DirectoryListing applied(const Changes& changes, const QStringList& patterns);

    Scanner scan_;
    DirectoryListing previous_;
    std::shared_ptr<const DirectoryNames> previousNames_ = std::make_shared<DirectoryNames>();
    QStringList files_; // every file, sorted; this reader's alone
};

// Takes the names of `gone` out of `sorted` and puts those of `added` in;
// all three are in the file lists' order, and `gone` holds only names of
// `sorted`.
void mergeNames(QStringList& sorted, const QStringList& gone, const QStringList& added);

} // namespace kadrix
