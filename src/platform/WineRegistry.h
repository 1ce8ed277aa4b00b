#pragma once

#include <QList>
#include <QProcessEnvironment>
#include <QString>

namespace kadrix {

// A drive of a Wine prefix: its letter and the Unix directory behind it.
struct WineDrive {
    QChar letter;
    QString directory;
};

// The Wine prefix the environment chooses: WINEPREFIX, else ~/.wine.
QString winePrefixOf(const QProcessEnvironment& environment);
// The drives a prefix maps, from its dosdevices directory.
QList<WineDrive> drivesOf(const QString& prefix);
// A Unix path as the Windows programs under Wine see it: on the drive that
// maps the deepest directory holding it, else on Z:, which maps "/".
QString windowsPathOf(const QString& unixPath, const QList<WineDrive>& drives);

// A registry file that Wine's "reg import" reads, putting the shared
// settings where the companion programs look for them; each value comes
// back exactly as given, whatever characters it holds.
QByteArray settingsImportFile(const QString& dataDirectory, const QString& programDirectory);

} // namespace kadrix
