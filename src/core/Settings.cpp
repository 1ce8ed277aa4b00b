#include "core/Settings.h"

#include "platform/NativeFiles.h"
#include "platform/SettingsStore.h"

#include <QDir>

namespace kadrix {

void saveDataDir(SettingsStore& settings, const QString& dataDir)
{
    settings.saveSetting(kSettingsApplication, kSettingsSection, kDataDirKey, dataDir);
}

QString directorySetting(const QString& value, const QString& base, const QString& fallback)
{
    if (value.isEmpty())
        return value;
    const QString directory = QDir::isAbsolutePath(QDir::fromNativeSeparators(value))
                                  ? value
                                  : QDir::cleanPath(base + QLatin1Char('/') + value);
    return kindOfPath(directory) == PathKind::Other ? fallback : directory;
}

} // namespace kadrix
