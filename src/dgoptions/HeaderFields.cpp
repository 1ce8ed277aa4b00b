#include "dgoptions/HeaderFields.h"

#include "core/Fixed5.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace kadrix {

namespace {

inline constexpr double kFixed5Limit = 9999;
inline constexpr double kShortMin = -32768;
inline constexpr double kShortMax = 32767;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string withoutBlanks(QByteArrayView text)
{
    std::string compact;
    compact.reserve(static_cast<size_t>(text.size()));
    for (const char c : text) {
        if (!isBlank(c))
            compact.push_back(c);
    }
    return compact;
}

size_t skipDigits(const std::string& text, size_t at)
{
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at;
}

// Length of the exponent ("E+05", "d2") at `at`, or 0 when there is none.
size_t exponentLength(const std::string& text, size_t at)
{
    if (at >= text.size() || std::string_view("eEdD").find(text[at]) == std::string_view::npos)
        return 0;
    size_t end = at + 1;
    if (end < text.size() && (text[end] == '+' || text[end] == '-'))
        ++end;
    const size_t digitsEnd = skipDigits(text, end);
    return digitsEnd > end ? digitsEnd - at : 0;
}

double parseUnsigned(std::string number)
{
    for (char& c : number) {
        if (c == 'd' || c == 'D')
            c = 'e';
    }
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range)
        return number.find("e-") != std::string::npos ? 0.0
                                                      : std::numeric_limits<double>::infinity();
    return value;
}

QByteArrayView fieldText(QByteArrayView line, int index)
{
    const qsizetype from = qsizetype(index) * kFieldWidth;
    if (from >= line.size())
        return {};
    return line.sliced(from, std::min<qsizetype>(kFieldWidth, line.size() - from));
}

// Fixed5 writes the value, unless its text would not fit five columns or
// Fixed5 would have to limit it: then the field is kept as it was read, so
// that no value the dialog does not set is ever changed by the rewrite.
QByteArray fieldOut(double value, QByteArrayView asRead)
{
    const QString text = std::fabs(value) <= kFixed5Limit ? Fixed5(value) : QString();
    if (!text.isEmpty())
        return text.toLatin1();
    return asRead.toByteArray().leftJustified(kFieldWidth, ' ');
}

double reverseXField(int reverseX, double fileValue)
{
    if (reverseX == 0)
        return 1;
    if (reverseX == 1)
        return 2;
    return fileValue;
}

} // namespace

double leadingNumber(QByteArrayView text)
{
    const std::string compact = withoutBlanks(text);
    size_t at = 0;
    const bool negative = !compact.empty() && compact[0] == '-';
    if (!compact.empty() && (compact[0] == '-' || compact[0] == '+'))
        ++at;
    const size_t start = at;
    size_t end = skipDigits(compact, at);
    size_t digits = end - start;
    if (end < compact.size() && compact[end] == '.') {
        const size_t fractionEnd = skipDigits(compact, end + 1);
        digits += fractionEnd - end - 1;
        end = fractionEnd;
    }
    if (digits == 0)
        return 0;
    end += exponentLength(compact, end);
    const double magnitude = parseUnsigned(compact.substr(start, end - start));
    return negative ? -magnitude : magnitude;
}

double roundHalfEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2) != 0))
        return below + 1;
    return below;
}

ThirdLine rewriteThirdLine(QByteArrayView line, HeaderChoices choices)
{
    ThirdLine result;
    result.text.reserve(kThirdLineWidth);
    for (int index = 0; index < kFieldCount; ++index) {
        const QByteArrayView asRead = fieldText(line, index);
        double value = leadingNumber(asRead);
        if (index == 0) {
            value = reverseXField(choices.reverseX, value);
        } else if (index == 1 && choices.refSystem != 0) {
            value = choices.refSystem;
        } else if (index == kFieldCount - 1) {
            value = roundHalfEven(value);
            if (!(value >= kShortMin && value <= kShortMax))
                return {{}, HeaderError::Overflow};
        }
        result.text += fieldOut(value, asRead);
    }
    return result;
}

} // namespace kadrix
