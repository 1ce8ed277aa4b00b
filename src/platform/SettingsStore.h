#pragma once

#include <QString>

namespace kadrix {

// The per-user settings store: plain strings by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual QString getSetting(const QString& application, const QString& section,
                               const QString& key, const QString& defaultValue) = 0;
    virtual void saveSetting(const QString& application, const QString& section, const QString& key,
                             const QString& value) = 0;
};

} // namespace kadrix
