#include "platform/QtSettingsStore.h"

#include <QSettings>

namespace kadrix {

namespace {

#ifdef Q_OS_WIN
// The classic per-user settings functions keep their values under this key,
// where the companion programs look for them too.
QSettings openStore(const QString& application)
{
    return QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") +
                         application,
                     QSettings::NativeFormat);
}
#else
QSettings openStore(const QString& application)
{
    return QSettings(application, application);
}
#endif

} // namespace

QString QtSettingsStore::getSetting(const QString& application, const QString& section,
                                    const QString& key, const QString& defaultValue)
{
    QSettings store(openStore(application));
    store.beginGroup(section);
    return store.value(key, defaultValue).toString();
}

void QtSettingsStore::saveSetting(const QString& application, const QString& section,
                                  const QString& key, const QString& value)
{
    QSettings store(openStore(application));
    store.beginGroup(section);
    store.setValue(key, value);
    store.endGroup();
    store.sync();
}

} // namespace kadrix
