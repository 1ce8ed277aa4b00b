#include "platform/QtSettingsStore.h"

#include "platform/NativeNames.h"

#include <QSettings>

#ifndef Q_OS_WIN
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>

#include <sys/stat.h>
#endif

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
bool storeIsUsable(const QString&)
{
    return true;
}
// The registry keeps every text exactly as it is given.
QVariant storedForm(const QString& value)
{
    return value;
}
#else
QSettings openStore(const QString& application)
{
    return QSettings(application, application);
}

// The files QSettings reads for the application: the user's own and the
// system-wide ones, each per application and per organization (the same
// name here).
QStringList storeFiles(const QString& application)
{
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString userDirectory = environment.value(QStringLiteral("XDG_CONFIG_HOME"));
    if (userDirectory.isEmpty())
        userDirectory = QDir::homePath() + QStringLiteral("/.config");
    QStringList directories{userDirectory};
    const QString systemDirectories = environment.value(QStringLiteral("XDG_CONFIG_DIRS"));
    directories += systemDirectories.isEmpty()
                       ? QStringList{QStringLiteral("/etc/xdg")}
                       : systemDirectories.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    QStringList files;
    for (const QString& directory : directories) {
        files.append(directory + QLatin1Char('/') + application + QLatin1Char('/') + application +
                     QStringLiteral(".conf"));
        files.append(directory + QLatin1Char('/') + application + QStringLiteral(".conf"));
    }
    return files;
}

// QSettings opens and reads its files at once: a pipe or a device under
// one of their names would hold the program before its window ever shows.
// Such a store is left alone; the settings take their defaults.
bool storeIsUsable(const QString& application)
{
    for (const QString& file : storeFiles(application)) {
        struct stat status {};
        if (::stat(QFile::encodeName(file).constData(), &status) == 0 && !S_ISREG(status.st_mode))
            return false;
    }
    return true;
}

// The settings file is UTF-8: a text holding bytes that are no UTF-8 (a
// directory copied from old media) would come back as another name. Such a
// value is kept as its bytes, which QSettings writes as @ByteArray(...) with
// each odd byte escaped (@ByteArray(/data/M\xfcller)) and reads back as they
// were. Every other value stays plain text, as users and companion programs
// read it.
QVariant storedForm(const QString& value)
{
    if (holdsUndecodedBytes(value))
        return encodeNativeName(value);
    return value;
}
#endif

} // namespace

QString QtSettingsStore::getSetting(const QString& application, const QString& section,
                                    const QString& key, const QString& defaultValue)
{
    if (!storeIsUsable(application))
        return defaultValue;
    QSettings store(openStore(application));
    store.beginGroup(section);
    const QVariant value = store.value(key, defaultValue);
    if (value.typeId() == QMetaType::QByteArray)
        return decodeNativeName(value.toByteArray());
    return value.toString();
}

void QtSettingsStore::saveSetting(const QString& application, const QString& section,
                                  const QString& key, const QString& value)
{
    if (!storeIsUsable(application))
        return;
    QSettings store(openStore(application));
    store.beginGroup(section);
    store.setValue(key, storedForm(value));
    store.endGroup();
    store.sync();
}

} // namespace kadrix
