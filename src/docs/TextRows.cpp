#include "docs/TextRows.h"

namespace kadrix::textrows {

namespace {

int nextColumn(QChar character, int column)
{
    return character == u'\t' ? (column / kTabWidth + 1) * kTabWidth : column + 1;
}

// The two halves of a character outside the first plane stay together.
qsizetype characterLength(const QString& line, qsizetype at)
{
    return line.at(at).isHighSurrogate() && at + 1 < line.size() ? 2 : 1;
}

} // namespace

std::vector<qsizetype> rowStarts(const QString& line, int columns)
{
    std::vector<qsizetype> starts{0};
    int column = 0;
    for (qsizetype at = 0; at < line.size(); at += characterLength(line, at)) {
        const int next = nextColumn(line.at(at), column);
        if (next > columns && column > 0) {
            starts.push_back(at);
            column = nextColumn(line.at(at), 0);
        } else {
            column = next;
        }
    }
    return starts;
}

QString rowText(const QString& line, qsizetype first, qsizetype last)
{
    QString text;
    text.reserve(last - first);
    for (qsizetype at = first; at < last; ++at) {
        if (line.at(at) == u'\t')
            text += QString(kTabWidth - int(text.size() % kTabWidth), u' ');
        else
            text += line.at(at);
    }
    return text;
}

int columnOf(const QString& line, qsizetype first, qsizetype position)
{
    int column = 0;
    for (qsizetype at = first; at < position && at < line.size(); at += characterLength(line, at))
        column = nextColumn(line.at(at), column);
    return column;
}

qsizetype positionAt(const QString& line, qsizetype first, qsizetype last, double column)
{
    int from = 0;
    for (qsizetype at = first; at < last; at += characterLength(line, at)) {
        const int to = nextColumn(line.at(at), from);
        if (column < to)
            return column - from < (to - from) / 2.0 ? at : at + characterLength(line, at);
        from = to;
    }
    return last;
}

} // namespace kadrix::textrows
