#include "app/Settings.h"

#include "platform/SettingsStore.h"

namespace kadrix {

void saveDataDir(SettingsStore& settings, const QString& dataDir)
{
    settings.saveSetting(kSettingsApplication, kSettingsSection, kDataDirKey, dataDir);
}

} // namespace kadrix
