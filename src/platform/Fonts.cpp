#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace kadrix {

namespace {

// The designs were drawn with narrow faces; where a face with the same
// widths is installed it keeps every caption within its control.
QFont preferredFont(const QStringList& families, QFontDatabase::SystemFont fallback)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : families) {
        if (installed.contains(family))
            return QFont(family);
    }
    return QFontDatabase::systemFont(fallback);
}

} // namespace

QFont sansSerifFont(double points, bool bold)
{
    static const QFont face = preferredFont(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}, QFontDatabase::GeneralFont);
    QFont font = face;
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont fixedPitchFont(double points, bool bold)
{
    static const QFont face =
        preferredFont({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")},
                      QFontDatabase::FixedFont);
    QFont font = face;
    font.setStyleHint(QFont::TypeWriter);
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
