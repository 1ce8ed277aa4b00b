#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace kadrix {

// What the first lines of a .DG header tell about the trial, read from the
// file's first bytes alone: line 1 as it stands, and the X-reversal and
// reference-system codes, fields 1 and 2 of line 3, read as the header
// rewrite reads them. A line ends at a carriage return, a carriage return
// and line feed, or a lone line feed.
struct HeaderSummary {
    QByteArray firstLine; // without its line end; what was read of it
    bool hasThirdLine = false;
    bool thirdLineIsText = false; // control characters make it no header
    double reverseX = 0;          // 1 digitized direction, 2 X reversed
    double refSystem = 0;         // the reference-system code
};

// `head` is the start of the file; `whole` tells that it is the whole
// file, so that a last line without line end counts as complete.
HeaderSummary summarizeHeader(QByteArrayView head, bool whole);

// The reference system's name for the codes 1 to 9, as the options dialog
// shows it; nothing for any other code.
std::optional<QByteArray> referenceSystemName(double code);

} // namespace kadrix
