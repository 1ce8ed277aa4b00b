#include "platform/NativeNames.h"

#include <QDir>

#include <algorithm>

namespace kadrix {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool isEscape(QChar c)
{
    return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF;
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at `at`, or 0. Overlong forms,
// surrogates and code points above U+10FFFF are not valid.
qsizetype validSequenceAt(const unsigned char* at, qsizetype left, char32_t& codePoint)
{
    const unsigned char lead = at[0];
    qsizetype length = 0;
    char32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (length > left)
        return 0;
    for (qsizetype i = 1; i < length; ++i) {
        if (!isContinuation(at[i]))
            return 0;
        codePoint = (codePoint << 6) | (at[i] & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < lowest || surrogate || codePoint > 0x10FFFF)
        return 0;
    return length;
}

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

void appendUtf8(QByteArray& out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out.append(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.append(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.append(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.append(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.append(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.append(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.append(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.append(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

} // namespace

QString decodeNativeName(QByteArrayView bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes.data(), bytes.size());
    QString name;
    name.reserve(bytes.size());
    const auto* at = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t codePoint = at[i];
        if (codePoint < 0x80) {
            name.append(QChar(static_cast<char16_t>(codePoint)));
            ++i;
        } else if (const qsizetype length = validSequenceAt(at + i, bytes.size() - i, codePoint)) {
            // Each code point as it stands: a byte-order mark is part of the
            // name wherever it lies (a decoder of texts would drop it).
            name.append(QStringView(QChar::fromUcs4(codePoint)));
            i += length;
        } else {
            name.append(QChar(static_cast<char16_t>(kEscapeBase + at[i])));
            ++i;
        }
    }
    return name;
}

QByteArray encodeNativeName(const QString& name)
{
    if (!holdsUndecodedBytes(name))
        return name.toUtf8();
    QByteArray bytes;
    bytes.reserve(name.size() * 3);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            appendUtf8(bytes, QChar::surrogateToUcs4(c, name.at(i + 1)));
            ++i;
        } else if (isEscape(c)) {
            bytes.append(static_cast<char>(c.unicode() - kEscapeBase));
        } else if (c.isSurrogate()) {
            appendUtf8(bytes, QChar::ReplacementCharacter);
        } else {
            appendUtf8(bytes, c.unicode());
        }
    }
    return bytes;
}

bool holdsUndecodedBytes(const QString& name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate())
            ++i;
        else if (isEscape(c))
            return true;
    }
    return false;
}

QString shownName(const QString& name)
{
    if (!holdsUndecodedBytes(name))
        return name;
    QString shown;
    shown.reserve(name.size() + 8);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            shown.append(c);
            shown.append(name.at(++i));
        } else if (isEscape(c)) {
            const int byte = c.unicode() - kEscapeBase;
            shown.append(QStringLiteral("\\x") +
                         QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0')));
        } else {
            shown.append(c);
        }
    }
    return shown;
}

namespace {

// Converts the runs of text between the stand-ins for odd bytes. A letter
// beyond the Basic Multilingual Plane is a surrogate pair whose second half
// may look like a stand-in: the pair stays whole in its run.
template <typename Convert>
QString convertedAroundEscapes(const QString& name, Convert convert)
{
    if (!holdsUndecodedBytes(name))
        return convert(name);
    QString converted;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i + 1 < name.size() && name.at(i).isHighSurrogate() &&
            name.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (i < name.size() && !isEscape(name.at(i)))
            continue;
        converted += convert(name.mid(runStart, i - runStart));
        if (i < name.size())
            converted += name.at(i);
        runStart = i + 1;
    }
    return converted;
}

} // namespace

QString upperCased(const QString& name)
{
    return convertedAroundEscapes(name, [](const QString& run) { return run.toUpper(); });
}

QString lowerCased(const QString& name)
{
    return convertedAroundEscapes(name, [](const QString& run) { return run.toLower(); });
}

QString caseFolded(const QString& name)
{
    return convertedAroundEscapes(name, [](const QString& run) { return run.toCaseFolded(); });
}

namespace {

QString withAsciiRangeMoved(const QString& text, char16_t first, char16_t last, char16_t to)
{
    QString moved = text;
    for (QChar& c : moved) {
        if (c.unicode() >= first && c.unicode() <= last)
            c = QChar(static_cast<char16_t>(c.unicode() - first + to));
    }
    return moved;
}

} // namespace

QString foldedAsciiCase(const QString& text)
{
    return withAsciiRangeMoved(text, u'A', u'Z', u'a');
}

QString asciiUpperCased(const QString& text)
{
    return withAsciiRangeMoved(text, u'a', u'z', u'A');
}

bool sameIgnoringAsciiCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a.at(i).unicode();
        const char16_t y = b.at(i).unicode();
        if (x != y &&
            !(x < 0x80 && y < 0x80 &&
              foldedAsciiByte(static_cast<char>(x)) == foldedAsciiByte(static_cast<char>(y))))
            return false;
    }
    return true;
}

QString localPathOfUrlPath(const QByteArray& bytes)
{
#ifdef Q_OS_WIN
    if (bytes.size() > 2 && bytes.at(0) == '/' && bytes.at(2) == ':')
        return QDir::toNativeSeparators(decodeNativeName(bytes.mid(1)));
#endif
    return decodeNativeName(bytes);
}

} // namespace kadrix
