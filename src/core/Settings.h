#pragma once

#include <QString>

namespace kadrix {

class SettingsStore;

// Where the program keeps its two settings: application "Movarta",
// section "Startup".
inline const QString kSettingsApplication = QStringLiteral("Movarta");
inline const QString kSettingsSection = QStringLiteral("Startup");
inline const QString kDataDirKey = QStringLiteral("Datadir");
inline const QString kProgDirKey = QStringLiteral("Progdir");

// Saves the data directory as the setting "Datadir".
void saveDataDir(SettingsStore& settings, const QString& dataDir);

// A directory read from the settings: a relative one is taken against
// `base`, and one that names a pipe, socket or device gives `fallback`.
QString directorySetting(const QString& value, const QString& base, const QString& fallback);

} // namespace kadrix
