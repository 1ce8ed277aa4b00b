#pragma once

#include <QString>

#include <vector>

namespace kadrix {

// How a line of text is laid out in rows of a fixed-pitch box `columns`
// characters wide: a tab reaches the next multiple of eight columns, and a
// line too long for one row goes on in the next.
namespace textrows {

inline constexpr int kTabWidth = 8;

// Where each row of `line` starts, as character positions; an empty line
// has one row.
std::vector<qsizetype> rowStarts(const QString& line, int columns);
// The characters [first, last) of a row as drawn, tabs made blanks.
QString rowText(const QString& line, qsizetype first, qsizetype last);
// The column where character `position` of the row that starts at `first` is drawn.
int columnOf(const QString& line, qsizetype first, qsizetype position);
// The place between characters of the row [first, last) nearest to `column`.
qsizetype positionAt(const QString& line, qsizetype first, qsizetype last, double column);

} // namespace textrows

} // namespace kadrix
