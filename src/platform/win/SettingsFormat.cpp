// The Windows twin of posix/SettingsFormat.cpp: the settings in the
// registry, where the classic settings functions keep them.
#include "platform/SettingsFormat.h"

#include <QDir>

namespace kadrix {

// The classic per-user settings functions keep their values under this key,
// where the companion programs look for them too.
QSettings openSettingsStore(const QString& application)
{
    return QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") +
                         application,
                     QSettings::NativeFormat);
}

// The registry is no file: nothing under its name can hold the program.
bool settingsStoreIsUsable(const QString&)
{
    return true;
}

// The settings are directories, and the companion programs read them from
// the registry as Windows names: with backslashes, as the system writes
// them. The registry keeps every text exactly as it is given.
QVariant storedSettingForm(const QString& value)
{
    return QDir::toNativeSeparators(value);
}

QString whereSettingIsSet(const QString& application, const QString& section, const QString& key,
                          const QString&)
{
    return QStringLiteral("Set it with the value %1 under the key\n"
                          "    HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\%2\\%3\n")
        .arg(key, application, section);
}

} // namespace kadrix
