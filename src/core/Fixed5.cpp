#include "core/Fixed5.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace kadrix {

namespace {

inline constexpr double kLimit = 9999;
inline constexpr qsizetype kWidth = 5;

// Shortest decimal form, no exponent; like the classic number text, a value
// between -1 and 1 is written without its leading zero (" .5"), which keeps
// one more digit within five columns.
QString digitsOf(double magnitude)
{
    QString digits = QString::number(magnitude, 'f', QLocale::FloatingPointShortest);
    if (digits.startsWith(QLatin1String("0.")))
        digits.remove(0, 1);
    return digits;
}

} // namespace

QString Fixed5(double value)
{
    if (std::isnan(value))
        value = 0;
    value = std::clamp(value, -kLimit, kLimit);
    if (value == 0)
        value = 0; // no "-0"
    const QString text =
        (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + digitsOf(std::fabs(value));
    if (text.size() > kWidth)
        return {};
    return text.rightJustified(kWidth, QLatin1Char(' '));
}

} // namespace kadrix
