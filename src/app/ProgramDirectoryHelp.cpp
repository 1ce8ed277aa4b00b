#include "app/ProgramDirectoryHelp.h"

#include "core/Settings.h"

#include <QDir>
#include <QStandardPaths>

namespace kadrix {

namespace {

QString searchedText(QStringList searched)
{
    searched.removeDuplicates();
    QString text =
        QStringLiteral("Kadrix.exe, the suite's animation program, was looked for in:\n");
    for (const QString& directory : searched)
        text += QStringLiteral("    ") + QDir::toNativeSeparators(directory) + QLatin1Char('\n');
    return text;
}

#ifdef Q_OS_WIN
QString whereToSetIt()
{
    return QStringLiteral("Set the program directory with the value Progdir under the key\n"
                          "    HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\"
                          "Movarta\\Startup\n");
}
#else
QString whereToSetIt()
{
    const QString userFile =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
        kSettingsApplication + QLatin1Char('/') + kSettingsApplication + QStringLiteral(".conf");
    return QStringLiteral("The program directory holds the suite's programs, help texts and "
                          "manuals. Set it with the key Progdir in section [Startup],\n"
                          "for you, in\n"
                          "    %1\n"
                          "or for every user, in\n"
                          "    /etc/xdg/Movarta/Movarta.conf\n"
                          "for example:\n"
                          "    [Startup]\n"
                          "    Progdir=/opt/kadrix\n"
                          "Then start Kadrix95 again.\n")
        .arg(userFile);
}
#endif

} // namespace

QString programDirectoryHelp(const QStringList& searched)
{
    return searchedText(searched) + QLatin1Char('\n') + whereToSetIt();
}

} // namespace kadrix
