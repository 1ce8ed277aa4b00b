#include "docs/TextRows.h"

namespace kadrix::textrows {

namespace {

int nextColumn(QChar character, int column)
{
    return character == u'\t' ? (column / kTabWidth + 1) * kTabWidth : column + 1;
}

int nextColumn(char byte, int column)
{
    return byte == '\t' ? (column / kTabWidth + 1) * kTabWidth : column + 1;
}

bool continues(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The bytes of the character that starts at `at`.
qsizetype characterBytes(QByteArrayView bytes, qsizetype at, TextEncoding encoding)
{
    qsizetype length = 1;
    if (encoding == TextEncoding::Utf8) {
        while (length < 4 && at + length < bytes.size() && continues(bytes.at(at + length)))
            ++length;
    }
    return length;
}

// The two halves of a character outside the first plane stay together.
qsizetype characterLength(const QString& row, qsizetype at)
{
    return row.at(at).isHighSurrogate() && at + 1 < row.size() ? 2 : 1;
}

} // namespace

qsizetype longestRow(int columns)
{
    return 4 * qsizetype(qMax(columns, 1)) + 4;
}

RowBreak breakRow(QByteArrayView bytes, TextEncoding encoding, int columns, qsizetype anchor,
                  bool textEnds)
{
    const qsizetype longest = longestRow(columns);
    int column = 0;
    // A byte-order mark takes no column: decoding drops it.
    for (qsizetype at = byteOrderMark(bytes, encoding);;) {
        if (at >= bytes.size())
            return textEnds ? RowBreak{at, -1, true} : RowBreak{at, at, false};
        const char byte = bytes.at(at);
        if (byte == '\n')
            return {at, at + 1, true};
        if (byte == '\r')
            return {at, at + (at + 1 < bytes.size() && bytes.at(at + 1) == '\n' ? 2 : 1), true};
        if (anchor > 0 && at >= anchor)
            return {anchor, anchor, false};
        const int next = nextColumn(byte, column);
        if ((next > columns && column > 0) || at >= longest)
            return {at, at, false};
        column = next;
        at += characterBytes(bytes, at, encoding);
    }
}

qsizetype continuationBytes(QByteArrayView bytes, TextEncoding encoding)
{
    qsizetype count = 0;
    if (encoding == TextEncoding::Utf8) {
        while (count < 3 && count < bytes.size() && continues(bytes.at(count)))
            ++count;
    }
    return count;
}

QString rowText(const QString& row, qsizetype first, qsizetype last)
{
    QString text;
    text.reserve(last - first);
    for (qsizetype at = first; at < last; ++at) {
        if (row.at(at) == u'\t')
            text += QString(kTabWidth - int(text.size() % kTabWidth), u' ');
        else
            text += row.at(at);
    }
    return text;
}

int columnOf(const QString& row, qsizetype first, qsizetype position)
{
    int column = 0;
    for (qsizetype at = first; at < position && at < row.size(); at += characterLength(row, at))
        column = nextColumn(row.at(at), column);
    return column;
}

qsizetype positionAt(const QString& row, qsizetype first, qsizetype last, double column)
{
    int from = 0;
    for (qsizetype at = first; at < last; at += characterLength(row, at)) {
        const int to = nextColumn(row.at(at), from);
        if (column < to)
            return column - from < (to - from) / 2.0 ? at : at + characterLength(row, at);
        from = to;
    }
    return last;
}

} // namespace kadrix::textrows
