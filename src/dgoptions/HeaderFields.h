#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace kadrix {

// The two options the dialog keeps in line 3 of a .DG header.
struct HeaderChoices {
    int reverseX = 2;  // the X-reversal box: 0 unchecked, 1 checked, 2 grayed (keep the file's)
    int refSystem = 0; // reference-system code 1-9; 0 keeps the file's
};

// Why a header cannot be rewritten.
enum class HeaderError {
    None,
    TooFewLines, // the file ends before its third line
    NotText,     // the third line holds control characters
    Overflow,    // field 13 lies beyond a 16-bit whole number
};

// Line 3 is thirteen numbers in five-column fields.
inline constexpr int kFieldWidth = 5;
inline constexpr int kFieldCount = 13;
inline constexpr int kThirdLineWidth = kFieldWidth * kFieldCount;

// The number a text begins with, blanks anywhere ignored, as the classic
// number reading does: "  1 2" is 12, "00001" is 1, "3.5x" is 3.5, "1E2"
// and "1D2" are 100; a text without a number reads as 0.
double leadingNumber(QByteArrayView text);

// Whole number nearest to `value`; halves go to the even neighbour.
double roundHalfEven(double value);

struct ThirdLine {
    QByteArray text; // 65 columns, without line end
    HeaderError error = HeaderError::None;
};

// Line 3 as it is written back: field 1 from the X-reversal choice, field 2
// from the reference system, fields 3-12 as read, field 13 rounded; every
// field in five columns. Columns past 65 are dropped.
ThirdLine rewriteThirdLine(QByteArrayView line, HeaderChoices choices);

} // namespace kadrix
