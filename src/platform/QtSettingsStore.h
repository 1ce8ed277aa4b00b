#pragma once

#include "platform/SettingsStore.h"

namespace kadrix {

// Settings kept by QSettings under the application's own name: on Linux the
// file $XDG_CONFIG_HOME/<application>/<application>.conf, on Windows the
// per-user registry key of the classic settings functions. A value read
// back is the text saved, also a name holding bytes that are no UTF-8; on
// Windows its slashes are the system's backslashes, as the companion
// programs read the directories.
class QtSettingsStore final : public SettingsStore {
public:
    QString getSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) override;
    void saveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override;
};

} // namespace kadrix
