// Not compiled yet: the Windows twin of posix/SettingsFormat.cpp, its
// starting point. src/platform/CMakeLists.txt is to list it for WIN32.
#include "platform/SettingsFormat.h"

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

// The registry keeps every text exactly as it is given.
QVariant storedSettingForm(const QString& value)
{
    return value;
}

QString whereSettingIsSet(const QString& application, const QString& section, const QString& key,
                          const QString&)
{
    return QStringLiteral("Set it with the value %1 under the key\n"
                          "    HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\%2\\%3\n")
        .arg(key, application, section);
}

} // namespace kadrix
