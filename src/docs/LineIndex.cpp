#include "docs/LineIndex.h"

#include <cstring>

namespace kadrix {

void LineIndex::append(const std::vector<qint64>& starts)
{
    const std::lock_guard lock(mutex_);
    for (const qint64 start : starts) {
        if (count_ % kBlock == 0)
            blocks_.push_back(std::make_unique_for_overwrite<qint64[]>(size_t(kBlock)));
        blocks_.back()[size_t(count_ % kBlock)] = start;
        ++count_;
    }
}

qint64 LineIndex::count() const
{
    const std::lock_guard lock(mutex_);
    return count_;
}

qint64 LineIndex::at(qint64 line) const
{
    const std::lock_guard lock(mutex_);
    return blocks_[size_t(line / kBlock)][size_t(line % kBlock)];
}

qint64 LineIndex::lineAt(qint64 offset) const
{
    qint64 low = 0;
    qint64 high = count() - 1;
    while (low < high) {
        const qint64 middle = (low + high + 1) / 2;
        if (at(middle) <= offset)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

qint64 LineIndex::bytes() const
{
    const std::lock_guard lock(mutex_);
    return qint64(blocks_.size()) * kBlock * qint64(sizeof(qint64));
}

void LineScanner::scan(const char* bytes, qint64 size, qint64 offset, std::vector<qint64>& starts)
{
    if (size <= 0)
        return;
    if (pendingReturn_ >= 0 && bytes[0] != '\n')
        starts.push_back(pendingReturn_ + 1);
    pendingReturn_ = -1;

    // Most texts have no CR at all: then memchr finds the line feeds.
    if (std::memchr(bytes, '\r', size_t(size)) == nullptr) {
        const char* at = bytes;
        const char* const end = bytes + size;
        while ((at = static_cast<const char*>(std::memchr(at, '\n', size_t(end - at))))) {
            ++at;
            starts.push_back(offset + (at - bytes));
        }
        return;
    }
    for (qint64 i = 0; i < size; ++i) {
        if (bytes[i] == '\n') {
            starts.push_back(offset + i + 1);
        } else if (bytes[i] == '\r') {
            if (i + 1 == size)
                pendingReturn_ = offset + i;
            else if (bytes[i + 1] != '\n')
                starts.push_back(offset + i + 1);
        }
    }
}

void LineScanner::finish(qint64 end, std::vector<qint64>& starts)
{
    if (pendingReturn_ >= 0 && pendingReturn_ < end)
        starts.push_back(pendingReturn_ + 1);
    pendingReturn_ = -1;
}

} // namespace kadrix
