#include "core/ExportFormat.h"

#include <QByteArray>
#include <QList>

#include <algorithm>

namespace kadrix {

namespace {

constexpr int kMostHeadingLines = 10;
constexpr int kLeastNumberRows = 2;

// The complete lines of `head`: a line ends at CR, CR LF or LF; the last
// one counts when the file ends with it.
QList<QByteArrayView> linesOf(QByteArrayView head, bool whole, bool& cut)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype at = 0; at < head.size(); ++at) {
        if (head[at] != '\r' && head[at] != '\n')
            continue;
        lines.append(head.sliced(start, at - start));
        if (head[at] == '\r' && at + 1 < head.size() && head[at + 1] == '\n')
            ++at;
        start = at + 1;
    }
    cut = start < head.size() && !whole;
    if (start < head.size() && whole)
        lines.append(head.sliced(start));
    return lines;
}

bool looksBinary(QByteArrayView head)
{
    const auto control = std::count_if(head.begin(), head.end(), [](char c) {
        const auto byte = uchar(c);
        return byte == 0 || (byte < 0x20 && !QByteArrayView("\t\n\r\f\x1a").contains(c));
    });
    return head.contains('\0') || control * 20 > head.size();
}

QList<QByteArray> fieldsOf(QByteArrayView line, char separator)
{
    return line.toByteArray().split(separator);
}

std::optional<double> numberOf(const QByteArray& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

std::optional<qint64> countOf(const QByteArray& text)
{
    const std::optional<double> value = numberOf(text);
    if (!value || *value < 0 || *value != qint64(*value))
        return std::nullopt;
    return qint64(*value);
}

// "Trajectories", the rate, then the names, one every three columns.
bool readVicon(const QList<QByteArrayView>& lines, ExportFormat& format)
{
    if (lines.isEmpty() ||
        fieldsOf(lines[0], ',').constFirst().trimmed().toLower() != "trajectories")
        return false;
    format.layout = ExportLayout::ViconTrajectories;
    if (lines.size() > 1)
        format.rate = numberOf(fieldsOf(lines[1], ',').constFirst());
    if (lines.size() > 2) {
        const QList<QByteArray> names = fieldsOf(lines[2], ',');
        format.points = std::count_if(names.begin(), names.end(), [](const QByteArray& name) {
            return !name.trimmed().isEmpty();
        });
    }
    return true;
}

// Lines of a keyword and its values, separated by tabs.
bool readQualisys(const QList<QByteArrayView>& lines, ExportFormat& format)
{
    if (lines.isEmpty() || !lines[0].startsWith("NO_OF_FRAMES"))
        return false;
    format.layout = ExportLayout::QualisysTsv;
    for (const QByteArrayView line : lines) {
        const QList<QByteArray> fields = fieldsOf(line, '\t');
        const QByteArray value = fields.value(1);
        if (fields[0] == "NO_OF_FRAMES")
            format.frames = countOf(value);
        else if (fields[0] == "NO_OF_MARKERS")
            format.points = countOf(value);
        else if (fields[0] == "FREQUENCY")
            format.rate = numberOf(value);
    }
    return true;
}

// PathFileType, then a line of keys and a line of their values.
bool readTrc(const QList<QByteArrayView>& lines, ExportFormat& format)
{
    if (lines.isEmpty() || !lines[0].startsWith("PathFileType"))
        return false;
    format.layout = ExportLayout::MotionAnalysisTrc;
    if (lines.size() < 3)
        return true;
    const QList<QByteArray> keys = fieldsOf(lines[1], '\t');
    const QList<QByteArray> values = fieldsOf(lines[2], '\t');
    for (qsizetype i = 0; i < std::min(keys.size(), values.size()); ++i) {
        const QByteArray key = keys[i].trimmed();
        if (key == "DataRate")
            format.rate = numberOf(values[i]);
        else if (key == "NumFrames")
            format.frames = countOf(values[i]);
        else if (key == "NumMarkers")
            format.points = countOf(values[i]);
    }
    return true;
}

// The numbers of a line, separated by blanks, tabs, commas or semicolons;
// 0 when any field is no number.
int numberCount(QByteArrayView line)
{
    QByteArray text = line.toByteArray();
    for (char& c : text) {
        if (c == ',' || c == ';' || c == '\t')
            c = ' ';
    }
    const QList<QByteArray> fields = text.simplified().split(' ');
    const bool allNumbers = std::all_of(fields.begin(), fields.end(), [](const QByteArray& field) {
        return numberOf(field).has_value();
    });
    return allNumbers && !text.trimmed().isEmpty() ? int(fields.size()) : 0;
}

// Every line after the heading holds the same count of numbers.
bool readColumns(const QList<QByteArrayView>& lines, ExportFormat& format)
{
    qsizetype first = 0;
    while (first < lines.size() && first <= kMostHeadingLines && numberCount(lines[first]) == 0)
        ++first;
    if (first > kMostHeadingLines || lines.size() - first < kLeastNumberRows)
        return false;
    const int columns = numberCount(lines[first]);
    for (qsizetype i = first; i < lines.size(); ++i) {
        if (numberCount(lines[i]) != columns && !lines[i].trimmed().isEmpty())
            return false;
    }
    format.layout = ExportLayout::NumberColumns;
    format.columns = columns;
    format.headingLines = int(first);
    return true;
}

} // namespace

ExportFormat recognizeExport(QByteArrayView head, bool whole)
{
    ExportFormat format;
    if (head.isEmpty())
        return format;
    if (looksBinary(head)) {
        format.layout = ExportLayout::Binary;
        return format;
    }
    bool cut = false;
    const QList<QByteArrayView> lines = linesOf(head, whole, cut);
    format.lines = lines.size() + (cut ? 1 : 0);
    format.moreLines = !whole;
    format.layout = ExportLayout::Text;
    readVicon(lines, format) || readQualisys(lines, format) || readTrc(lines, format) ||
        readColumns(lines, format);
    return format;
}

} // namespace kadrix
