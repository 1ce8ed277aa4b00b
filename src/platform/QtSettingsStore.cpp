#include "platform/QtSettingsStore.h"

#include "platform/NativeNames.h"
#include "platform/SettingsFormat.h"

namespace kadrix {

QString QtSettingsStore::getSetting(const QString& application, const QString& section,
                                    const QString& key, const QString& defaultValue)
{
    if (!settingsStoreIsUsable(application))
        return defaultValue;
    QSettings store(openSettingsStore(application));
    store.beginGroup(section);
    const QVariant value = store.value(key, defaultValue);
    if (value.typeId() == QMetaType::QByteArray)
        return decodeNativeName(value.toByteArray());
    return value.toString();
}

void QtSettingsStore::saveSetting(const QString& application, const QString& section,
                                  const QString& key, const QString& value)
{
    if (!settingsStoreIsUsable(application))
        return;
    QSettings store(openSettingsStore(application));
    store.beginGroup(section);
    store.setValue(key, storedSettingForm(value));
    store.endGroup();
    store.sync();
}

} // namespace kadrix
