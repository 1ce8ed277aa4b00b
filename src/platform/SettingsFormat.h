#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

// Where and how the host keeps the program's settings, for QtSettingsStore.

namespace kadrix {

// The settings of `application`, as the host keeps them.
QSettings openSettingsStore(const QString& application);

// Whether the store can be opened without waiting: a pipe or a device
// where a settings file belongs would hold the program for good.
bool settingsStoreIsUsable(const QString& application);

// The form in which `value` is stored, so that it reads back as it is.
QVariant storedSettingForm(const QString& value);

// Lines that tell the user where to set `key` in `section` of the
// settings of `application`, with `example` as the value shown.
QString whereSettingIsSet(const QString& application, const QString& section, const QString& key,
                          const QString& example);

} // namespace kadrix
