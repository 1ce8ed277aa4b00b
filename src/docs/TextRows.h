#pragma once

#include "docs/ViewerText.h"

#include <QByteArrayView>
#include <QString>

namespace kadrix {

// How a line of text is laid out in rows of a fixed-pitch box `columns`
// characters wide: a tab reaches the next multiple of eight columns, and a
// line too long for one row goes on in the next. Rows are found in the
// file's bytes; each character takes one column, a tab up to eight.
namespace textrows {

inline constexpr int kTabWidth = 8;

// Where a row ends: its text is bytes [0, end) from its start, the next
// row starts at `next`, or there is none (-1) where the text ends.
struct RowBreak {
    qsizetype end = 0;
    qsizetype next = -1;
    bool endsLine = true;
};

// The most bytes a row can take; more only in text that is not valid.
qsizetype longestRow(int columns);
// Lays out the row that starts at the beginning of `bytes`, which hold at
// least longestRow(columns) + 4 bytes unless `textEnds` after them. A row
// also ends at `anchor` (from the row's start), where the line's rows start
// afresh; -1 for none.
RowBreak breakRow(QByteArrayView bytes, TextEncoding encoding, int columns, qsizetype anchor,
                  bool textEnds);
// How many bytes at the start of `bytes` continue a UTF-8 character begun
// before them; three at most, none in the Windows code page.
qsizetype continuationBytes(QByteArrayView bytes, TextEncoding encoding);

// The characters [first, last) of a decoded row as drawn, tabs made blanks.
QString rowText(const QString& row, qsizetype first, qsizetype last);
// The column where character `position` of the row that starts at `first` is drawn.
int columnOf(const QString& row, qsizetype first, qsizetype position);
// The place between characters of the row [first, last) nearest to `column`.
qsizetype positionAt(const QString& row, qsizetype first, qsizetype last, double column);

} // namespace textrows

} // namespace kadrix
