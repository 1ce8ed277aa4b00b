#pragma once

#include <QtGlobal>

#include <string>
#include <string_view>
#include <vector>

namespace kadrix {

// The names one reading of a directory found, as the system encodes them and
// in the order it handed them out, kept in one block of memory so that the
// next reading can be compared with it at the speed of a memory compare.
class RawNames {
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

private:
    struct Entry {
        quint32 offset;
        quint32 length;
        bool directory;
    };
    std::string text_;
    std::vector<Entry> entries_;
};

} // namespace kadrix
