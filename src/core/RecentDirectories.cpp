#include "core/RecentDirectories.h"

#include "core/Settings.h"
#include "core/TrialCaption.h"
#include "platform/NativeNames.h"
#include "platform/SettingsStore.h"

#include <QDir>

namespace kadrix {

namespace {

// Menus grow as wide as their widest item: a deep path keeps its start and
// its last directories.
constexpr qsizetype kShownLength = 60;
constexpr qsizetype kShownStart = 20;

QString keyOf(qsizetype index)
{
    return QStringLiteral("Dir") + QString::number(index + 1);
}

QString shortened(const QString& text)
{
    if (text.size() <= kShownLength)
        return text;
    qsizetype start = kShownStart;
    qsizetype end = text.size() - (kShownLength - kShownStart - 1);
    // A character outside the basic plane is never cut in two.
    if (text.at(start).isLowSurrogate())
        ++start;
    if (text.at(end).isLowSurrogate())
        ++end;
    return text.left(start) + QChar(0x2026) + text.mid(end);
}

} // namespace

bool RecentDirectories::record(const QString& path)
{
    if (path.isEmpty() || (!paths_.isEmpty() && paths_.front() == path))
        return false;
    paths_.removeAll(path);
    paths_.prepend(path);
    if (paths_.size() > kMaximum)
        paths_.resize(kMaximum);
    return true;
}

bool RecentDirectories::forget(const QString& path)
{
    return paths_.removeAll(path) > 0;
}

void RecentDirectories::load(SettingsStore& settings)
{
    paths_.clear();
    saved_.clear();
    for (qsizetype i = 0; i < kMaximum; ++i) {
        const QString path =
            settings.getSetting(kSettingsApplication, kRecentSection, keyOf(i), QString());
        saved_.append(path);
        // A value written by hand may be anything: only absolute paths count.
        if (QDir::isAbsolutePath(QDir::fromNativeSeparators(path)) && !paths_.contains(path))
            paths_.append(path);
    }
}

void RecentDirectories::save(SettingsStore& settings)
{
    for (qsizetype i = 0; i < kMaximum; ++i) {
        const QString path = paths_.value(i);
        if (path != saved_.value(i))
            settings.saveSetting(kSettingsApplication, kRecentSection, keyOf(i), path);
    }
    saved_ = paths_;
}

QString recentCaption(qsizetype index, const QString& path)
{
    const QString shown = shortened(shownDirectory(path));
    return QLatin1Char('&') + QString::number(index + 1) + QLatin1Char(' ') +
           QString(shown).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace kadrix
