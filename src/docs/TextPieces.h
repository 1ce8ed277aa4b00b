#pragma once

#include <QtGlobal>

namespace kadrix {

// How the viewer cuts a text into pieces. The defaults suit files of any
// size; tests make them small, so that small files cross every boundary.
struct TextPieces {
    // The line index keeps the number of line ends before every multiple of
    // this, and scans at most this much to find a line.
    qint64 checkpoint = 16 * 1024;
    // Indexed at once, before the first screen is drawn.
    qint64 firstIndexed = 256 * 1024;
    // Then indexed on the worker, the window told after each.
    qint64 indexed = 4 * 1024 * 1024;
    // Decoded and searched at once.
    qint64 searched = 4 * 1024 * 1024;
    // The rows of a long line are laid out afresh from every multiple of
    // this from the line's start, so that a row deep in the line is found
    // without laying out all the rows before it.
    qint64 rowAnchor = 64 * 1024;
};

} // namespace kadrix
