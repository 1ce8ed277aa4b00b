#pragma once

#include <QString>

namespace kadrix {

struct FileHead;

// How much of a file its tooltip reads: the header's first lines, or enough
// lines of an export to tell its layout.
inline constexpr qsizetype kTipBytes = 4096;

// The tooltip of a .DG file in the data-file list: line 1 of its header,
// the X reversal and the reference system from line 3, the size and the
// date of the file.
QString dataFileTip(const FileHead& head);

// The tooltip of a file in the convertible-file list: its layout, with the
// frames, points and rate its header gives; else the lines of a text file,
// or that it is a binary one; then its size and date.
QString convertFileTip(const FileHead& head);

} // namespace kadrix
