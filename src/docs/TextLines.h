#pragma once

#include "docs/LineIndex.h"

#include <QByteArray>

#include <memory>

namespace kadrix {

class TextFile;

// The lines of a text file, found through its line index: where each one
// starts and ends, and which one holds a byte. Each answer scans at most one
// checkpoint distance of the file.
class TextLines final {
public:
    TextLines(std::shared_ptr<TextFile> file, std::shared_ptr<LineIndex> index);
    Q_DISABLE_COPY_MOVE(TextLines)

    const TextFile& file() const { return *file_; }
    LineIndex::State state() const { return index_->state(); }
    // The lines known: all of them once the index is complete, before that
    // those whose end has been found.
    qint64 count() const;
    // Where `line` starts; `line` must be at most state().ends.
    qint64 start(qint64 line) const;
    // Where the text of `line` ends, before its line end.
    qint64 contentEnd(qint64 line) const;
    // The line that holds byte `offset`, its line end included; the offset
    // is taken to be within the bytes counted so far.
    qint64 lineAt(qint64 offset) const;
    qint64 indexBytes() const { return index_->bytes(); }

private:
    // Reads bytes [from, to) into the scratch buffer and gives the byte
    // after them, or -1 at the end of the text.
    int read(qint64 from, qint64 to) const;

    std::shared_ptr<TextFile> file_;
    std::shared_ptr<LineIndex> index_;
    mutable QByteArray scratch_;
    mutable qint64 scratchSize_ = 0;
};

} // namespace kadrix
