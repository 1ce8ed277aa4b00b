#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kadrix {

// The names one reading of a directory found, as the system encodes them and
// in the order it handed them out, kept in one block of memory: the next
// reading is compared with it at the speed of a memory compare. Once the
// reading is complete, an index by the names with their letter case folded
// (A to Z as a to z) answers which entries a name means regardless of case
// without reading the directory again.
class DirectoryNames {
public:
    void reserve(size_t count, size_t bytes)
    {
        entries_.reserve(count);
        text_.reserve(bytes);
    }

    void add(std::string_view name, bool directory)
    {
        entries_.push_back(
            {static_cast<quint32>(text_.size()), static_cast<quint32>(name.size()), directory});
        text_.append(name);
    }

    size_t size() const { return entries_.size(); }
    size_t bytes() const { return text_.size(); }
    std::string_view name(size_t index) const
    {
        const Entry& entry = entries_[index];
        return std::string_view(text_).substr(entry.offset, entry.length);
    }
    bool isDirectory(size_t index) const { return entries_[index].directory; }
    bool holds(size_t index, std::string_view name, bool directory) const
    {
        return index < entries_.size() && entries_[index].directory == directory &&
               this->name(index) == name;
    }

    // Builds the index of folded names; the names are not added to after.
    void indexFoldedNames();
    bool isIndexed() const { return !slots_.empty() || entries_.empty(); }
    // The entries, files and directories, whose names equal `name` but for
    // the letter case of A to Z; the one written exactly as `name` first.
    QStringList entriesLike(const QString& name) const;

private:
    struct Entry {
        quint32 offset;
        quint32 length;
        bool directory;
    };
    std::string text_;
    std::vector<Entry> entries_;
    // Open addressing over entry numbers + 1; 0 marks a free slot.
    std::vector<quint32> slots_;
};

// What the last reading of one directory found, for lookups in it that
// must not read it again.
struct ListedDirectory {
    QString path;
    std::shared_ptr<const DirectoryNames> names;

    bool lists(const QString& directory) const { return names && directory == path; }
};

} // namespace kadrix
