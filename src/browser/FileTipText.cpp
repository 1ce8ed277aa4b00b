#include "browser/FileTipText.h"

#include "core/ExportFormat.h"
#include "dgoptions/HeaderSummary.h"
#include "platform/FileHead.h"

#include <QDateTime>
#include <QLocale>
#include <QStringDecoder>
#include <QStringList>

namespace kadrix {

namespace {

constexpr qsizetype kLongestFirstLine = 100;

// Header text is UTF-8 where it can be, else the code page of old media,
// read as Latin-1; long lines are cut, control characters left out.
QString shownText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    if (text.size() > kLongestFirstLine)
        text = text.left(kLongestFirstLine) + QChar(0x2026);
    return text;
}

QString codeText(double code)
{
    return QLocale::c().toString(code, 'g', 6);
}

QString reverseXLine(double code)
{
    if (code == 1)
        return QStringLiteral("X coordinates as digitized");
    if (code == 2)
        return QStringLiteral("X coordinates reversed");
    return QStringLiteral("X-reversal code %1").arg(codeText(code));
}

QString referenceLine(double code)
{
    QString line = QStringLiteral("Reference system %1").arg(codeText(code));
    if (const auto name = referenceSystemName(code))
        line += QStringLiteral(": ") + QString::fromLatin1(*name);
    return line;
}

QString sizeAndDate(const FileStamp& stamp)
{
    const QDateTime modified = QDateTime::fromMSecsSinceEpoch(stamp.modifiedSeconds * 1000 +
                                                              stamp.modifiedNanoseconds / 1000000);
    const QLocale locale;
    return QStringLiteral("%1 bytes, %2")
        .arg(locale.toString(stamp.size), locale.toString(modified, QLocale::ShortFormat));
}

QString countText(qint64 count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(QLocale().toString(count),
                                       QLatin1String(count == 1 ? one : many));
}

QString layoutName(ExportLayout layout)
{
    switch (layout) {
    case ExportLayout::ViconTrajectories:
        return QStringLiteral("Vicon trajectories CSV");
    case ExportLayout::QualisysTsv:
        return QStringLiteral("Qualisys TSV");
    case ExportLayout::MotionAnalysisTrc:
        return QStringLiteral("Motion Analysis TRC");
    case ExportLayout::NumberColumns:
        return QStringLiteral("Columns of numbers");
    case ExportLayout::Binary:
        return QStringLiteral("Binary file");
    case ExportLayout::Empty:
        return QStringLiteral("Empty file");
    case ExportLayout::Text:
        break;
    }
    return QStringLiteral("Text file");
}

QString formatLine(const ExportFormat& format)
{
    QStringList parts;
    if (format.frames)
        parts << countText(*format.frames, "frame", "frames");
    if (format.points)
        parts << countText(*format.points, "point", "points");
    if (format.rate)
        parts << QStringLiteral("%1 Hz").arg(QLocale().toString(*format.rate, 'g', 6));
    if (format.layout == ExportLayout::NumberColumns) {
        parts << countText(format.columns, "column", "columns");
        if (format.headingLines > 0)
            parts << countText(format.headingLines, "heading line", "heading lines");
    }
    if (format.layout == ExportLayout::Text || format.layout == ExportLayout::NumberColumns)
        parts << (format.moreLines ? QStringLiteral("at least ") : QString()) +
                     countText(format.lines, "line", "lines");
    const QString name = layoutName(format.layout);
    return parts.isEmpty() ? name : name + QStringLiteral(", ") + parts.join(QStringLiteral(", "));
}

} // namespace

QString dataFileTip(const FileHead& head)
{
    const HeaderSummary summary = summarizeHeader(head.bytes, head.whole);
    QStringList lines{shownText(summary.firstLine)};
    if (!summary.hasThirdLine)
        lines << QStringLiteral("Header incomplete: no third line");
    else if (!summary.thirdLineIsText)
        lines << QStringLiteral("Header damaged: its third line is not text");
    else
        lines << reverseXLine(summary.reverseX) << referenceLine(summary.refSystem);
    lines << sizeAndDate(head.stamp);
    return lines.join(QLatin1Char('\n'));
}

QString convertFileTip(const FileHead& head)
{
    return formatLine(recognizeExport(head.bytes, head.whole)) + QLatin1Char('\n') +
           sizeAndDate(head.stamp);
}

} // namespace kadrix
