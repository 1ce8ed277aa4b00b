#pragma once

#include <QtGlobal>

#include <mutex>
#include <vector>

namespace kadrix {

// Line ends in a piece of text: a line feed, a CR not followed by a line
// feed, and CR LF, which ends its line at the line feed. `following` is the
// byte after the piece, or -1 where the text ends there.
namespace lineends {

// The line ends, and in `ascii` whether every byte is ASCII.
qint64 count(const char* bytes, qint64 size, int following, bool* ascii = nullptr);
// Where the n-th line end (from 1) is, or -1 when there are fewer.
qint64 find(const char* bytes, qint64 size, int following, qint64 n);
// Where the last line end is, or -1 when there is none.
qint64 findLast(const char* bytes, qint64 size, int following);

} // namespace lineends

// Where lines end, kept sparsely: the number of line ends before every
// multiple of the checkpoint distance. A line is found by scanning the text
// from the checkpoint before it, at most that distance, so the index takes
// 8 bytes per checkpoint distance whatever the lines. Filled by one thread
// while others read it.
class LineIndex final {
public:
    struct State {
        qint64 scanned = 0; // bytes [0, scanned) are counted
        qint64 ends = 0;    // the line ends in them
        bool complete = false;
    };

    // `checkpoint` must be a power of two; `expectedSize` is the text's.
    LineIndex(qint64 checkpoint, qint64 expectedSize);
    Q_DISABLE_COPY_MOVE(LineIndex)

    qint64 checkpoint() const { return checkpoint_; }
    State state() const;
    // More of the text is counted: `endsBefore` for each multiple of the
    // checkpoint distance passed on the way.
    void extend(const std::vector<qint64>& endsBefore, const State& state);
    // The line ends before byte `k * checkpoint()`; k must be at most
    // scanned / checkpoint().
    qint64 endsBefore(qint64 k) const;
    // The last checkpoint with fewer than `ends` line ends before it.
    qint64 lastCheckpointBelow(qint64 ends) const;
    // The memory the index takes.
    qint64 bytes() const;

private:
    const qint64 checkpoint_;
    mutable std::mutex mutex_;
    std::vector<qint64> endsBefore_;
    State state_;
};

} // namespace kadrix
