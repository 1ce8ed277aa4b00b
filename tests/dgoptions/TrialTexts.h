#pragma once

// The trial texts the header tests read and write.

#include <QByteArray>

namespace kadrix::test {

// Line 3 of the panning example: 1, 0, 3, 12, eight zeros and 7.
inline const QByteArray kThird =
    "    1    0    3   12    0    0    0    0    0    0    0    0    7";
inline const QByteArray kPanned = "    2    4" + kThird.mid(10);
inline const QByteArray kZeros = QByteArray("    0").repeated(11);
inline const QByteArray kLine1 = "Walk, trial 1, sagittal view, 50 Hz";
inline const QByteArray kLine2 = "        24        12    150.00      0.00      0.00    100.00";
inline const QByteArray kBinary("\0\x1a\xff\t\r\n", 6);

// Lines 1 and 2, then `third`, each ending in CR LF.
inline QByteArray head(const QByteArray& third)
{
    return kLine1 + "\r\n" + kLine2 + "\r\n" + third + "\r\n";
}

// A whole trial whose line 3 is `third`.
inline QByteArray dg(const QByteArray& third)
{
    return head(third) + "    1   109.9    25.0\r\n    2   119.7    24.8\r\n";
}

} // namespace kadrix::test
