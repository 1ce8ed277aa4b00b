#pragma once

#include "platform/SettingsStore.h"

#include <QHash>

namespace kadrix::test {

// Settings kept in memory, by "application/section/key".
class FakeSettingsStore final : public SettingsStore {
public:
    QString getSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) override;
    void saveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override;

    static QString keyOf(const QString& application, const QString& section, const QString& key);

    QHash<QString, QString> values;
    int writes = 0;
};

} // namespace kadrix::test
