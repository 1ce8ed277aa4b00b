#include "app/ProgramDirectoryHelp.h"

#include "core/Settings.h"
#include "platform/SettingsFormat.h"

#include <QDir>

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

QString whereToSetIt()
{
    return QStringLiteral("The program directory holds the suite's programs, help texts and "
                          "manuals. ") +
           whereSettingIsSet(kSettingsApplication, QStringLiteral("Startup"),
                             QStringLiteral("Progdir"), QStringLiteral("/opt/kadrix")) +
           QStringLiteral("Then start Kadrix95 again.\n");
}

} // namespace

QString programDirectoryHelp(const QStringList& searched)
{
    return searchedText(searched) + QLatin1Char('\n') + whereToSetIt();
}

} // namespace kadrix
