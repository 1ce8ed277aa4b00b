#include "platform/HostPrograms.h"

#include "platform/FileErrors.h"
#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"
#include "platform/PathLookup.h"
#include "platform/WineExecutable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <utility>

namespace kadrix {

namespace {

const QString kExe = QStringLiteral(".exe");
const QString kDebianWine64 = QStringLiteral("/usr/lib/wine/wine64");

bool isWindowsExecutable(const QString& path)
{
    QFile file; // a pipe or device is never waited on
    return !openRegularFile(file, path) && file.read(2) == "MZ";
}

QString toolDescription(SystemTool tool)
{
    switch (tool) {
    case SystemTool::TextEditor:
        return QStringLiteral("text editor");
    case SystemTool::Calculator:
        return QStringLiteral("calculator");
    case SystemTool::Terminal:
        return QStringLiteral("terminal");
    case SystemTool::FileManager:
        break;
    }
    return QStringLiteral("file manager");
}

// A path as the lookup sees it: relative names are taken in the working
// directory, as the started program would be.
QString inDirectory(const QString& workingDirectory, const QString& path)
{
    if (QDir::isAbsolutePath(path) || workingDirectory.isEmpty())
        return path;
    return QDir(workingDirectory).filePath(path);
}

// A file handed to a system tool, written so that the tool cannot take it
// for an option ("-rf.dg", "+5"): a relative name gets "./" in front.
QStringList asFileArguments(QStringList arguments)
{
    for (QString& argument : arguments) {
        if (!argument.isEmpty() && !QDir::isAbsolutePath(argument))
            argument.prepend(QStringLiteral("./"));
    }
    return arguments;
}

// Why a Windows program cannot be handed `name` as it is, or nothing. The
// name reaches it unchanged: a "\\" or ":" in a Unix name reads there as a
// directory or a drive, and names another file; bytes that are no UTF-8 have
// no Windows character to become.
QString unfitForWindows(const QString& name)
{
    if (holdsUndecodedBytes(name))
        return QStringLiteral("holds bytes that are not UTF-8 text, which a Windows program "
                              "cannot receive as they are");
    if (name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char(':')))
        return QStringLiteral("holds \"\\\" or \":\", which a Windows program reads as a "
                              "directory or a drive, so that it would open another file");
    return {};
}

// The first name handed to a Windows program that it cannot take as it is,
// said in a sentence; nothing when all can go. The front-end's switches
// (/q, /V1, /S4, /?) never hold such characters, so every argument is
// checked as a file name.
QString namesRefusedByWindows(const QString& program, const QStringList& arguments,
                              const QString& workingDirectory)
{
    QList<std::pair<QString, QString>> names{{QStringLiteral("Its path"), program}};
    for (const QString& argument : arguments)
        names.append({QStringLiteral("The file name"), argument});
    names.append({QStringLiteral("The directory to start it in"), workingDirectory});
    for (const auto& [what, name] : names) {
        const QString problem = unfitForWindows(name);
        if (!problem.isEmpty())
            return QStringLiteral("%1, \"%2\", %3. Rename it to start the program on it.")
                .arg(what, shownName(name), problem);
    }
    return {};
}

} // namespace

HostPrograms::HostPrograms(QProcessEnvironment environment, QStringList wine32Loaders)
    : environment_(std::move(environment))
    , wine32Loaders_(std::move(wine32Loaders))
{}

QStringList HostPrograms::defaultWine32Loaders()
{
    return {QStringLiteral("/usr/lib/wine/wine"),
            QStringLiteral("/usr/lib/i386-linux-gnu/wine/wine")};
}

std::optional<SystemTool> HostPrograms::systemToolNamed(const QString& program)
{
    const QString name = program.trimmed();
    if (name.compare(QLatin1String("notepad.exe"), Qt::CaseInsensitive) == 0)
        return SystemTool::TextEditor;
    if (name.compare(QLatin1String("calc.exe"), Qt::CaseInsensitive) == 0)
        return SystemTool::Calculator;
    if (name.compare(QLatin1String("command.com"), Qt::CaseInsensitive) == 0)
        return SystemTool::Terminal;
    if (name.compare(QLatin1String("explorer.exe"), Qt::CaseInsensitive) == 0)
        return SystemTool::FileManager;
    return std::nullopt;
}

QString HostPrograms::variableFor(SystemTool tool)
{
    switch (tool) {
    case SystemTool::TextEditor:
        return QStringLiteral("KADRIX_NOTEPAD");
    case SystemTool::Calculator:
        return QStringLiteral("KADRIX_CALCULATOR");
    case SystemTool::Terminal:
        return QStringLiteral("KADRIX_TERMINAL");
    case SystemTool::FileManager:
        break;
    }
    return QStringLiteral("KADRIX_FILE_MANAGER");
}

QStringList HostPrograms::candidatesFor(SystemTool tool)
{
    switch (tool) {
    case SystemTool::TextEditor:
        return {"gnome-text-editor", "gedit",   "kate", "kwrite", "mousepad", "pluma", "xed",
                "featherpad",        "leafpad", "geany"};
    case SystemTool::Calculator:
        return {"gnome-calculator", "kcalc", "qalculate-gtk", "galculator", "mate-calc", "xcalc"};
    case SystemTool::Terminal:
        return {"x-terminal-emulator", "gnome-terminal", "konsole", "xfce4-terminal",
                "mate-terminal",       "lxterminal",     "xterm"};
    case SystemTool::FileManager:
        break;
    }
    return {"nautilus", "dolphin", "thunar", "pcmanfm", "caja", "nemo"};
}

ProgramToStart HostPrograms::map(const QString& program, const QStringList& arguments,
                                 const QString& workingDirectory) const
{
    if (const std::optional<SystemTool> tool = systemToolNamed(program))
        return mapSystemTool(*tool, arguments, workingDirectory);
    return mapProgramFile(program, arguments, workingDirectory);
}

ProgramToStart HostPrograms::mapSystemTool(SystemTool tool, const QStringList& arguments,
                                           const QString& workingDirectory) const
{
    const QStringList files = asFileArguments(arguments);
    if (!environment_.value(variableFor(tool)).trimmed().isEmpty())
        return namedSystemTool(tool, files);
    for (const QString& candidate : candidatesFor(tool)) {
        const QString found = findOnPath(candidate);
        if (!found.isEmpty())
            return {found, files, {}};
    }
    // A desktop's opener can still show a file, or the working directory.
    const QString opener = findOnPath(QStringLiteral("xdg-open"));
    if (!opener.isEmpty() && tool == SystemTool::TextEditor && !files.isEmpty())
        return {opener, files.mid(0, 1), {}};
    if (!opener.isEmpty() && tool == SystemTool::FileManager)
        return {opener, {files.value(0, workingDirectory)}, {}};
    return {{},
            {},
            QStringLiteral("No %1 was found on this system. Name one in the environment "
                           "variable %2.")
                .arg(toolDescription(tool), variableFor(tool))};
}

ProgramToStart HostPrograms::namedSystemTool(SystemTool tool, const QStringList& files) const
{
    const QString variable = variableFor(tool);
    const QStringList named = commandFromVariable(variable);
    const QString program = named.value(0);
    const QString found = program.contains(QLatin1Char('/')) ? program : findOnPath(program);
    const QFileInfo file(found);
    if (!found.isEmpty() && file.isFile() && file.isExecutable())
        return {file.absoluteFilePath(), named.mid(1) + files, {}};
    const QString problem = program.isEmpty() || found.isEmpty() || !file.exists()
                                ? QStringLiteral("which was not found")
                                : QStringLiteral("which is not a program that can be started");
    return {{},
            {},
            QStringLiteral("The %1 named in the environment variable %2 is \"%3\", %4.")
                .arg(toolDescription(tool), variable, program, problem)};
}

ProgramToStart HostPrograms::mapProgramFile(const QString& program, const QStringList& arguments,
                                            const QString& workingDirectory) const
{
    QString path;
    const bool bare = !program.contains(QLatin1Char('/')) && !program.contains(QDir::separator());
    if (bare) {
        path = findOnPath(program);
        if (path.isEmpty() && QFileInfo(program).suffix().isEmpty())
            path = findOnPath(program + kExe);
    }
    if (path.isEmpty()) {
        path = resolvePathCase(inDirectory(workingDirectory, program));
        if (kindOfPath(path) == PathKind::Missing && QFileInfo(program).suffix().isEmpty())
            path = resolvePathCase(inDirectory(workingDirectory, program + kExe));
    }
    const PathKind kind = kindOfPath(path);
    if (kind == PathKind::Missing)
        return {{}, {}, QStringLiteral("The program file was not found.")};
    if (kind == PathKind::Directory)
        return {{}, {}, QStringLiteral("It is a directory, not a program.")};
    if (isWindowsExecutable(path))
        return throughWine(path, arguments, workingDirectory);
    if (kind != PathKind::File || !mayExecute(path))
        return {{}, {}, QStringLiteral("The file is not a program that can be started.")};
    return {absolutePath(path), arguments, {}};
}

ProgramToStart HostPrograms::throughWine(const QString& path, const QStringList& arguments,
                                         const QString& workingDirectory) const
{
    const QStringList wine = wineCommand();
    if (wine.isEmpty())
        return {{},
                {},
                QStringLiteral("It is a Windows program, and Wine, which starts Windows programs "
                               "here, was not found. Install Wine, or name the program that "
                               "starts Windows programs in the environment variable "
                               "KADRIX_WINE."),
                {}};
    const WindowsArchitecture architecture = architectureOfFile(path);
    if ((architecture == WindowsArchitecture::Bits32 ||
         architecture == WindowsArchitecture::Bits16) &&
        !hasWine32(wine))
        return {{},
                {},
                QStringLiteral("It is a %1-bit Windows program, and the %1-bit part of Wine is "
                               "not installed. On Debian or Ubuntu, install it with:\n"
                               "sudo dpkg --add-architecture i386\n"
                               "sudo apt-get update\n"
                               "sudo apt-get install wine32:i386")
                    .arg(architecture == WindowsArchitecture::Bits16 ? 16 : 32),
                {}};
    const QString refused = namesRefusedByWindows(path, arguments, workingDirectory);
    if (!refused.isEmpty())
        return {{}, {}, refused, {}};
    return {wine.first(),
            wine.mid(1) + QStringList{QFileInfo(path).absoluteFilePath()} + arguments,
            {},
            wine};
}

// Wine's loader: the one named by KADRIX_WINE, else "wine" or "wine64" on
// the PATH, else where Debian's wine64 package alone puts it.
QStringList HostPrograms::wineCommand() const
{
    const QStringList named = commandFromVariable(QStringLiteral("KADRIX_WINE"));
    if (!named.isEmpty())
        return named;
    for (const QString& name : {QStringLiteral("wine"), QStringLiteral("wine64")}) {
        const QString found = findOnPath(name);
        if (!found.isEmpty())
            return {found};
    }
    if (QFileInfo(kDebianWine64).isExecutable())
        return {kDebianWine64};
    return {};
}

// 32-bit programs run when the user named a loader of their own, when a
// 32-bit loader is where it is looked for, or when the "wine" found
// is itself a program rather than a script choosing between the two.
bool HostPrograms::hasWine32(const QStringList& wine) const
{
    if (environment_.contains(QStringLiteral("KADRIX_WINE")))
        return true;
    for (const QString& loader : wine32Loaders_) {
        if (QFileInfo(loader).isExecutable())
            return true;
    }
    QFile program(wine.first());
    return QFileInfo(program).fileName() == QLatin1String("wine") &&
           program.open(QIODevice::ReadOnly) &&
           program.read(4) == "\x7F"
                              "ELF";
}

QString HostPrograms::findOnPath(const QString& name) const
{
    const QStringList directories =
        environment_.value(QStringLiteral("PATH")).split(QDir::listSeparator(), Qt::SkipEmptyParts);
    return QStandardPaths::findExecutable(name, directories);
}

QStringList HostPrograms::commandFromVariable(const QString& variable) const
{
    return QProcess::splitCommand(environment_.value(variable));
}

} // namespace kadrix
