#include "core/TrialCaption.h"

#include "platform/NativeNames.h"

#include <QDir>

namespace kadrix {

QString trialCaption(const QString& trialName, const std::optional<QString>& trialExt)
{
    QString caption = QStringLiteral("Selected file: ") + shownName(upperCased(trialName));
    if (trialExt)
        caption += QLatin1Char('.') + shownName(*trialExt);
    return caption;
}

QString shownDirectory(const QString& path)
{
    return QDir::toNativeSeparators(shownName(lowerCased(path)));
}

} // namespace kadrix
