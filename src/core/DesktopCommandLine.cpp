#include "core/DesktopCommandLine.h"

#include "core/AppState.h"
#include "core/CommandLine.h"

#include <QDir>
#include <QFileInfo>

namespace kadrix {

void readCommandLine(AppState& state, const QStringList& arguments, const QString& argumentText,
                     const QString& currentDirectory, const FileProbe& isFile)
{
    for (const QString& argument : arguments) {
        if (argument.isEmpty())
            continue;
        const QString path = QDir::cleanPath(QDir(currentDirectory).absoluteFilePath(argument));
        if (!isFile(path))
            continue;
        const QFileInfo trial(path);
        state.DataDir = trial.path();
        state.TrialPath = trial.fileName();
        return;
    }
    GetCommandLine(state, argumentText, currentDirectory);
}

InfoRequest infoRequestOf(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--help"))
            return InfoRequest::Help;
        if (argument == QLatin1String("--version"))
            return InfoRequest::Version;
    }
    return InfoRequest::None;
}

QString helpText()
{
    return QStringLiteral(
        "Usage: kadrix95 [TRIAL]\n"
        "       kadrix95 [SWITCH...] [TRIAL]\n"
        "\n"
        "The front-end of the Kadrix motion-analysis suite: browses data directories\n"
        "and starts the suite's programs on a trial.\n"
        "\n"
        "TRIAL is a data file (.DG, .CN, .KM, .SN, .3D) to animate at once. When it\n"
        "names an existing file, absolute or relative, blanks included, its\n"
        "directory becomes the data directory. Otherwise the classic rule applies:\n"
        "the words are split at blanks, the first word that begins with neither \"-\"\n"
        "nor \"/\" is the trial in the stored data directory, and a switch before it\n"
        "makes the current directory the data directory.\n"
        "\n"
        "  --help       print this text and exit\n"
        "  --version    print the version and exit\n"
        "\n"
        "Settings (section [Startup]):\n"
        "  Datadir      the last data directory\n"
        "  Progdir      the directory of the suite's programs, help texts and manuals\n"
        "Per user:      $XDG_CONFIG_HOME/Movarta/Movarta.conf (~/.config/Movarta/...)\n"
        "System-wide:   /etc/xdg/Movarta/Movarta.conf\n"
        "\n"
        "See kadrix95(1) for the environment variables and files.\n");
}

} // namespace kadrix
