#include "docs/TextLayout.h"

#include "docs/TextLines.h"

namespace kadrix {

namespace {

// Read at a time, so that the rows of a screen take one or two reads.
constexpr qint64 kWindow = 16 * 1024;

} // namespace

void TextLayout::setText(const TextLines* lines, qint64 rowAnchor)
{
    lines_ = lines;
    rowAnchor_ = qMax<qint64>(rowAnchor, 16);
    window_.clear();
    segment_ = {};
}

void TextLayout::setColumns(int columns)
{
    columns_ = qMax(columns, 1);
}

TextEncoding TextLayout::encoding() const
{
    return lines_->file().encoding();
}

QByteArrayView TextLayout::read(qint64 from, qint64 size) const
{
    const qint64 to = qMin(from + size, lines_->file().shownSize());
    if (from < windowStart_ || to > windowStart_ + window_.size() || window_.isEmpty()) {
        lines_->file().read(from, from + qMax(size, kWindow), window_);
        windowStart_ = from;
    }
    const qint64 at = qMin<qint64>(from - windowStart_, window_.size());
    return QByteArrayView(window_).sliced(at).first(
        qBound<qint64>(0, to - from, window_.size() - at));
}

bool TextLayout::exists(qint64 rowStart) const
{
    const LineIndex::State known = lines_->state();
    return rowStart < known.scanned || (known.complete && rowStart == known.scanned);
}

bool TextLayout::hasRows() const
{
    return lines_ && exists(0);
}

// Where anchor `number` of the line is: that far from its start, moved on
// to the start of a character.
qint64 TextLayout::anchor(qint64 lineStart, qint64 number) const
{
    const qint64 at = lineStart + number * rowAnchor_;
    return number == 0 ? lineStart : at + textrows::continuationBytes(read(at, 3), encoding());
}

TextRow TextLayout::rowAt(qint64 start, qint64 lineStart, qint64 line) const
{
    const qsizetype wanted = textrows::longestRow(columns_) + 8;
    const qint64 number = (start - lineStart) / rowAnchor_ + 1;
    // Only an anchor the row could reach is looked up.
    const qint64 next =
        lineStart + number * rowAnchor_ - start < wanted ? anchor(lineStart, number) - start : -1;
    // Fewer bytes than asked for: the text ends there, also where the file
    // has become shorter than it was.
    const QByteArrayView bytes = read(start, wanted);
    const textrows::RowBreak row =
        textrows::breakRow(bytes, encoding(), columns_, next, bytes.size() < wanted);
    return {line,        lineStart, start, start + row.end, row.next < 0 ? -1 : start + row.next,
            row.endsLine};
}

const std::vector<TextRow>& TextLayout::segment(qint64 start, qint64 lineStart, qint64 line) const
{
    if (segment_.start == start && segment_.columns == columns_ &&
        segment_.encoding == encoding() && !segment_.rows.empty() &&
        segment_.rows.front().lineStart == lineStart)
        return segment_.rows;
    segment_ = {start, columns_, encoding(), {}};
    const qint64 end = lineStart + ((start - lineStart) / rowAnchor_ + 1) * rowAnchor_;
    TextRow row = rowAt(start, lineStart, line);
    segment_.rows.push_back(row);
    // Each row must start beyond the one before, whatever the file holds by now.
    while (!row.endsLine && row.next > row.start && row.next < end) {
        row = rowAt(row.next, lineStart, line);
        segment_.rows.push_back(row);
    }
    return segment_.rows;
}

TextRow TextLayout::holdingInLine(qint64 offset, qint64 lineStart, qint64 line) const
{
    // A place on the line's end is laid out with the line's last character.
    qint64 inside = offset;
    for (int step = 0; step < 2 && inside > lineStart; ++step) {
        const QByteArrayView byte = read(inside, 1);
        if (!byte.isEmpty() && byte.front() != '\n' && byte.front() != '\r')
            break;
        --inside;
    }
    const qint64 number = (inside - lineStart) / rowAnchor_;
    qint64 start = anchor(lineStart, number);
    if (start > inside)
        start = anchor(lineStart, number - 1);
    const std::vector<TextRow>& rows = segment(start, lineStart, line);
    for (const TextRow& row : rows) {
        if (row.next < 0 || offset < row.next)
            return row;
    }
    return rows.back();
}

TextRow TextLayout::holding(qint64 offset) const
{
    offset = qBound<qint64>(0, offset, lines_->state().scanned);
    const qint64 line = lines_->lineAt(offset);
    return holdingInLine(offset, lines_->start(line), line);
}

TextRow TextLayout::first() const
{
    return rowAt(0, 0, 0);
}

TextRow TextLayout::last() const
{
    const LineIndex::State known = lines_->state();
    return holding(known.complete ? known.scanned : known.scanned - 1);
}

std::optional<TextRow> TextLayout::next(const TextRow& row) const
{
    if (row.next <= row.start || !exists(row.next))
        return std::nullopt;
    return row.endsLine ? rowAt(row.next, row.next, row.line + 1)
                        : rowAt(row.next, row.lineStart, row.line);
}

std::optional<TextRow> TextLayout::previous(const TextRow& row) const
{
    if (row.start <= 0)
        return std::nullopt;
    const TextRow before =
        row.start > row.lineStart
            ? holdingInLine(row.start - 1, row.lineStart, row.line)
            : holdingInLine(row.start - 1, lines_->start(row.line - 1), row.line - 1);
    // A file changed under the view can give no row before this one.
    if (before.start >= row.start)
        return std::nullopt;
    return before;
}

TextRow TextLayout::moved(TextRow row, qint64 rows) const
{
    for (; rows > 0; --rows) {
        const std::optional<TextRow> further = next(row);
        if (!further)
            break;
        row = *further;
    }
    for (; rows < 0; ++rows) {
        const std::optional<TextRow> back = previous(row);
        if (!back)
            break;
        row = *back;
    }
    return row;
}

TextRow TextLayout::lastTop(qint64 rows) const
{
    return moved(last(), -(rows - 1));
}

std::vector<TextRow> TextLayout::rowsFrom(const TextRow& top, qint64 count) const
{
    std::vector<TextRow> rows;
    std::optional<TextRow> row = top;
    for (; row && qint64(rows.size()) < count; row = next(*row))
        rows.push_back(*row);
    return rows;
}

QByteArray TextLayout::bytes(const TextRow& row) const
{
    return read(row.start, row.end - row.start).toByteArray();
}

} // namespace kadrix
