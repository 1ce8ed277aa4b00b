#include "platform/SettingsFormat.h"

#include "platform/NativeNames.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <sys/stat.h>

namespace kadrix {

namespace {

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

} // namespace

QSettings openSettingsStore(const QString& application)
{
    return QSettings(application, application);
}

// QSettings opens and reads its files at once: a pipe or a device under
// one of their names would hold the program before its window ever shows.
// Such a store is left alone; the settings take their defaults.
bool settingsStoreIsUsable(const QString& application)
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
QVariant storedSettingForm(const QString& value)
{
    if (holdsUndecodedBytes(value))
        return encodeNativeName(value);
    return value;
}

QString whereSettingIsSet(const QString& application, const QString& section, const QString& key,
                          const QString& example)
{
    const QString perApplication =
        QLatin1Char('/') + application + QLatin1Char('/') + application + QStringLiteral(".conf");
    const QString userFile =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + perApplication;
    return QStringLiteral("Set it with the key %1 in section [%2],\n"
                          "for you, in\n"
                          "    %3\n"
                          "or for every user, in\n"
                          "    /etc/xdg%4\n"
                          "for example:\n"
                          "    [%2]\n"
                          "    %1=%5\n")
        .arg(key, section, userFile, perApplication, example);
}

} // namespace kadrix
