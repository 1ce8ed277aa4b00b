#pragma once

#include <QtGlobal>

#include <memory>
#include <mutex>
#include <vector>

namespace kadrix {

// Where each line of a text starts, as byte offsets, filled by one thread
// while another reads it. The offsets are kept in blocks of a fixed size, so
// that growing never copies what is there.
class LineIndex final {
public:
    LineIndex() = default;
    Q_DISABLE_COPY_MOVE(LineIndex)

    void append(const std::vector<qint64>& starts);
    qint64 count() const;
    // The start of line `line`, which must be below count().
    qint64 at(qint64 line) const;
    // The line holding byte `offset`.
    qint64 lineAt(qint64 offset) const;
    // The memory the offsets take.
    qint64 bytes() const;

private:
    static constexpr qint64 kBlock = qint64(1) << 16;

    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<qint64[]>> blocks_;
    qint64 count_ = 0;
};

// Finds where lines start in a text read piece by piece: after a line feed,
// after CR LF, and after a lone CR.
class LineScanner final {
public:
    // Adds to `starts` the line starts in `bytes`, which begin at `offset`.
    void scan(const char* bytes, qint64 size, qint64 offset, std::vector<qint64>& starts);
    // The text ends at `end`: a CR there closes its line.
    void finish(qint64 end, std::vector<qint64>& starts);

private:
    qint64 pendingReturn_ = -1; // a CR at the end of the last piece
};

} // namespace kadrix
