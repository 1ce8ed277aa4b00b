#include "dgoptions/HeaderSummary.h"

#include "dgoptions/HeaderFields.h"

#include <algorithm>
#include <array>

namespace kadrix {

namespace {

// The line starting at `from`, and where the next one starts; -1 when the
// line has no end within `head`.
struct Line {
    QByteArrayView text;
    qsizetype next = -1;
};

Line lineAt(QByteArrayView head, qsizetype from)
{
    const auto begin = head.begin() + from;
    const auto end = std::find_if(begin, head.end(), [](char c) { return c == '\r' || c == '\n'; });
    Line line{QByteArrayView(begin, end), -1};
    if (end == head.end())
        return line;
    line.next = end - head.begin() + 1;
    if (*end == '\r' && line.next < head.size() && head[line.next] == '\n')
        ++line.next;
    return line;
}

bool isText(QByteArrayView line)
{
    return std::none_of(line.begin(), line.end(),
                        [](char c) { return (uchar(c) < 0x20 && c != '\t') || c == 0x7f; });
}

} // namespace

HeaderSummary summarizeHeader(QByteArrayView head, bool whole)
{
    HeaderSummary summary;
    Line line = lineAt(head, 0);
    summary.firstLine = line.text.toByteArray();
    for (int number = 2; number <= 3; ++number) {
        if (line.next < 0 || line.next >= head.size())
            return summary; // the file ends, or what was read of it does
        line = lineAt(head, line.next);
    }
    if (line.next < 0 && !whole && line.text.size() < 2 * kFieldWidth)
        return summary; // the fields go on beyond what was read
    summary.hasThirdLine = true;
    summary.thirdLineIsText = isText(line.text);
    if (summary.thirdLineIsText) {
        summary.reverseX =
            leadingNumber(line.text.first(std::min<qsizetype>(kFieldWidth, line.text.size())));
        if (line.text.size() > kFieldWidth)
            summary.refSystem = leadingNumber(
                line.text.sliced(kFieldWidth)
                    .first(std::min<qsizetype>(kFieldWidth, line.text.size() - kFieldWidth)));
    }
    return summary;
}

std::optional<QByteArray> referenceSystemName(double code)
{
    static const std::array<const char*, 9> names{
        "No fixed points", "Moving camera",         "Framing (use fixed)",
        "Panning",         "Framed (ignore fixed)", "Framing & moving",
        "Framed & moving", "Framing & Panning",     "Framed & Panning"};
    if (code < 1 || code > 9 || code != static_cast<int>(code))
        return std::nullopt;
    return QByteArray(names.at(static_cast<size_t>(code) - 1));
}

} // namespace kadrix
