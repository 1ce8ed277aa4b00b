#include "classic/Fonts.h"

#include <QFont>
#include <QStringList>

namespace kadrix {

namespace {

// The designs were drawn with narrow faces; where a face with the same
// widths is installed it keeps every caption within its control. The faces
// are matched when the font is first used, as the system's default face for
// the style is when none of them is installed: choosing here would read the
// whole font database at start-up.
QFont preferredFont(const QStringList& families, QFont::StyleHint style)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(style);
    return font;
}

} // namespace

QFont sansSerifFont(double points, bool bold)
{
    static const QFont face = preferredFont(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}, QFont::SansSerif);
    QFont font = face;
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont fixedPitchFont(double points, bool bold)
{
    static const QFont face = preferredFont(
        {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")}, QFont::TypeWriter);
    QFont font = face;
    font.setFixedPitch(true);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QString displayCaption(const QString& caption)
{
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&'))
                text.append(caption.at(++i));
            continue;
        }
        text.append(caption.at(i));
    }
    return text;
}

} // namespace kadrix
