#include "core/StartRequests.h"

#include "core/AppState.h"
#include "core/TrialFiles.h"
#include "platform/NativeNames.h"
#include "platform/PathLookup.h"

#include <QDir>
#include <QFileInfo>

namespace kadrix {

QString companionPath(const AppState& state, const QString& name)
{
    return joinPath(state.ProgDir, name + QStringLiteral(".exe"));
}

void chooseCompanion(AppState& state, const QString& name)
{
    state.ProgName = name;
    state.ProgPath = companionPath(state, name);
}

} // namespace kadrix

namespace kadrix::requests {

namespace {

const QString kAnimationProgram = QStringLiteral("Kadrix");
const QString kNotepad = QStringLiteral("notepad.exe");

QStringList switchWords(const QString& switches)
{
    return switches.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// A program named with a directory, as it is on the disk; a bare name is
// left for the Starter to find.
QString programOnDisk(const QString& program)
{
    return program.contains(QLatin1Char('/')) || program.contains(QDir::separator())
               ? resolvePathCase(program)
               : program;
}

// A path as the started program and the user see it in a command text,
// with the host's own separators.
QString hostText(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString animationProgramPath(const AppState& state)
{
    return companionPath(state, kAnimationProgram);
}

StartRequest shellStart(const QString& program, const QStringList& arguments,
                        const QString& workingDirectory, int showCode, const QString& programText,
                        const QString& parameterText)
{
    const QString commandText =
        parameterText.isEmpty() ? programText : programText + QLatin1Char(' ') + parameterText;
    return {StartKind::Shell, program,     arguments,    workingDirectory,
            showCode,         commandText, parameterText};
}

StartRequest commandStart(const QString& program, const QStringList& arguments,
                          const QString& workingDirectory, int showCode, const QString& commandText)
{
    return {StartKind::Command, program, arguments, workingDirectory, showCode, commandText};
}

// The shell start of the animation program in DataDir, everything upper case.
StartRequest animationShellStart(const AppState& state, const QString& switches,
                                 const QString& file)
{
    const QString program = animationProgramPath(state);
    return shellStart(programOnDisk(program), switchWords(switches) << trialFileOnDisk(state, file),
                      resolvePathCase(state.DataDir), kShow, upperCased(hostText(program)),
                      switches + upperCased(file));
}

} // namespace

StartRequest animateTrial(const AppState& state, const QString& switches)
{
    const QString file = state.TrialName + QLatin1Char('.') + state.TrialExt;
    return animationShellStart(state, switches + state.OptionSwitches, file);
}

StartRequest animateArielFile(const AppState& state, const QString& extension)
{
    // The whole parameter text is upper case, the switch too.
    return animationShellStart(state, QStringLiteral("/A "), state.TrialName + extension);
}

StartRequest runProgram(const AppState& state, const QString& path, const QString& file)
{
    return shellStart(programOnDisk(path), {trialFileOnDisk(state, file)},
                      resolvePathCase(state.DataDir), kShow, upperCased(hostText(path)),
                      upperCased(file));
}

StartRequest companionCommand(const AppState& state, const QString& program, const QString& file)
{
    return commandStart(programOnDisk(program), {trialFileOnDisk(state, file)},
                        resolvePathCase(state.DataDir), kShow,
                        hostText(program) + QLatin1Char(' ') + file);
}

StartRequest animateCdaFile(const AppState& state, const QString& program, const QString& file)
{
    return commandStart(
        programOnDisk(program), {QStringLiteral("/A"), trialFileOnDisk(state, file)},
        resolvePathCase(state.DataDir), kShow, hostText(program) + QStringLiteral(" /A ") + file);
}

StartRequest commandLineHelp(const AppState& state)
{
    const QString program = state.ProgDir + QStringLiteral("/Kadrix");
    return commandStart(programOnDisk(program), {QStringLiteral("/?")},
                        resolvePathCase(state.DataDir), kShow,
                        hostText(program) + QStringLiteral(" /?"));
}

StartRequest notepadOn(const AppState& state, const QString& path)
{
    return commandStart(kNotepad, {trialFileOnDisk(state, path)}, resolvePathCase(state.DataDir),
                        kShowNormal, kNotepad + QLatin1Char(' ') + hostText(path));
}

StartRequest notepadInDataDir(const AppState& state, const QString& file)
{
    const QStringList arguments =
        file.isEmpty() ? QStringList() : QStringList{trialFileOnDisk(state, file)};
    return shellStart(kNotepad, arguments, resolvePathCase(state.DataDir), kShowNormal, kNotepad,
                      file);
}

StartRequest systemTool(const AppState& state, const QString& program)
{
    return commandStart(program, {}, resolvePathCase(state.DataDir), kShowNormal, program);
}

StartRequest pickedProgram(const AppState& state, const QString& path)
{
    return commandStart(programOnDisk(path), {}, resolvePathCase(state.DataDir), kShow,
                        hostText(path));
}

StartRequest openWithHost(const QString& path)
{
    const QString directory = QFileInfo(path).absolutePath();
    return shellStart(path, {}, directory, kShowNormal, hostText(path), {});
}

} // namespace kadrix::requests
