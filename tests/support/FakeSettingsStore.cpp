#include "FakeSettingsStore.h"

namespace kadrix::test {

QString FakeSettingsStore::keyOf(const QString& application, const QString& section,
                                 const QString& key)
{
    return application + QLatin1Char('/') + section + QLatin1Char('/') + key;
}

QString FakeSettingsStore::getSetting(const QString& application, const QString& section,
                                      const QString& key, const QString& defaultValue)
{
    return values.value(keyOf(application, section, key), defaultValue);
}

void FakeSettingsStore::saveSetting(const QString& application, const QString& section,
                                    const QString& key, const QString& value)
{
    values.insert(keyOf(application, section, key), value);
    ++writes;
}

} // namespace kadrix::test
