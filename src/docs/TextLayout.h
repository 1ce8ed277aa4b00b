#pragma once

#include "docs/TextRows.h"

#include <QByteArray>

#include <optional>
#include <vector>

namespace kadrix {

class TextLines;

// A row of the text in the box: bytes [start, end) of line `line`, which
// starts at `lineStart`; the next row starts at `next`, -1 where the text ends.
struct TextRow {
    qint64 line = 0;
    qint64 lineStart = 0;
    qint64 start = 0;
    qint64 end = 0;
    qint64 next = -1;
    bool endsLine = true;
    bool operator==(const TextRow&) const = default;
};

// The rows of a text in a box some columns wide, laid out only where they
// are asked for. A row starts afresh at every anchor distance from its
// line's start, so that the row holding any byte of a long line is found by
// laying out at most one anchor distance of it. Rows reach as far as the
// line index has counted.
class TextLayout final {
public:
    TextLayout() = default;
    Q_DISABLE_COPY_MOVE(TextLayout)

    void setText(const TextLines* lines, qint64 rowAnchor);
    void setColumns(int columns);
    // Any text is known, if only an empty one.
    bool hasRows() const;
    TextRow first() const;
    TextRow last() const;
    std::optional<TextRow> next(const TextRow& row) const;
    std::optional<TextRow> previous(const TextRow& row) const;
    // The row that holds byte `offset`; a line end belongs to its line's last row.
    TextRow holding(qint64 offset) const;
    // The row `rows` rows further on (back when negative), stopping at either end.
    TextRow moved(TextRow row, qint64 rows) const;
    // The top row of the screen of `rows` rows that ends with the last row.
    TextRow lastTop(qint64 rows) const;
    // Up to `count` rows from `top` on.
    std::vector<TextRow> rowsFrom(const TextRow& top, qint64 count) const;
    QByteArray bytes(const TextRow& row) const;
    TextEncoding encoding() const;

private:
    // The rows from one anchor of a line to the next, or to the line's end.
    struct Segment {
        qint64 start = -1;
        int columns = 0;
        TextEncoding encoding = TextEncoding::Utf8;
        std::vector<TextRow> rows;
    };

    bool exists(qint64 rowStart) const;
    TextRow rowAt(qint64 start, qint64 lineStart, qint64 line) const;
    TextRow holdingInLine(qint64 offset, qint64 lineStart, qint64 line) const;
    qint64 anchor(qint64 lineStart, qint64 number) const;
    const std::vector<TextRow>& segment(qint64 start, qint64 lineStart, qint64 line) const;
    // Bytes [from, from + size) of the file, fewer at its end; valid until the next call.
    QByteArrayView read(qint64 from, qint64 size) const;

    const TextLines* lines_ = nullptr;
    qint64 rowAnchor_ = 64 * 1024;
    int columns_ = 1;
    mutable QByteArray window_;
    mutable qint64 windowStart_ = 0;
    mutable Segment segment_;
};

} // namespace kadrix
