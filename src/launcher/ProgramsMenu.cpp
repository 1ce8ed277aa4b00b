#include "launcher/ProgramsMenu.h"

#include "browser/Browser.h"
#include "browser/BrowserPanel.h"
#include "browser/FileList.h"
#include "core/AppState.h"
#include "core/FileTest.h"
#include "core/HandlerContext.h"
#include "core/StartRequests.h"
#include "core/TrialFiles.h"
#include "launcher/Launcher.h"
#include "platform/FileErrors.h"
#include "platform/Host.h"
#include "platform/Messages.h"
#include "platform/PathLookup.h"
#include "platform/Starter.h"

#include <QAction>

#include <array>

namespace kadrix {

namespace {

const std::array<QString, 3> kSystemTools = {
    QStringLiteral("calc.exe"), QStringLiteral("command.com"), QStringLiteral("explorer.exe")};

} // namespace

ProgramsMenu::ProgramsMenu(HandlerContext& context, ProgramsMenuItems& items, Browser& browser,
                           Launcher& launcher, QObject* parent)
    : QObject(parent)
    , context_(context)
    , items_(items)
    , browser_(browser)
    , launcher_(launcher)
{}

bool ProgramsMenu::acrospinFileOpens() const
{
    const AppState& state = context_.state;
    return trialFileExists(state, state.TrialName + QStringLiteral(".acd"));
}

void ProgramsMenu::mnuPrograms_click()
{
    items_.mnuProgram[0]->setEnabled(acrospinFileOpens());
}

void ProgramsMenu::mnuProgram_Click(int Index)
{
    AppState& state = context_.state;
    const QString trialFile = state.TrialName + QLatin1Char('.') + state.TrialExt;
    QString argument;
    if (Index == 0) {
        if (!acrospinFileOpens()) {
            context_.host.messages.showMessage(
                {QStringLiteral("Acrospin file (.ACD) not found in current data directory."),
                 kApplicationTitle, MessageButtons::Ok, MessageIcon::None});
            return;
        }
        state.ProgName = QStringLiteral("Acrospin");
        argument = state.TrialName + QStringLiteral(".acd");
    } else if (Index == 1 || Index == 2) {
        state.ProgName = Index == 1 ? QStringLiteral("Xfer2ACD") : QStringLiteral("Xfer2DG");
        argument = trialFile;
    } else {
        return;
    }
    state.ProgPath = companionPath(state, state.ProgName);
    launcher_.RunProgram(state.ProgPath, argument, 0);
    // A .DG file the converter writes shows up at the next reading.
    browser_.panel().filDatafiles->refresh();
}

void ProgramsMenu::mnuDOS_Click(int Index)
{
    AppState& state = context_.state;
    if (Index >= 0 && Index < static_cast<int>(kSystemTools.size()))
        state.TaskId = context_.host.starter.start(
            requests::systemTool(state, kSystemTools.at(static_cast<size_t>(Index))));
    else if (Index == 3)
        state.TaskId = context_.host.starter.start(requests::notepadInDataDir(state, QString()));
}

void ProgramsMenu::mnuRun_Click()
{
    AppState& state = context_.state;
    OpenFileDialog& dialog = items_.dlgOpen;
    dialog.initialDirectory = state.ProgDir;
    dialog.fileName = QStringLiteral("*.exe");
    // Programs here seldom end in .exe: every file can be chosen too.
    dialog.filters = {QStringLiteral("*.exe"), QStringLiteral("All files (*)")};
    dialog.selectedFilter = 0;
    dialog.title = QStringLiteral("Select program to run");
    const QString chosen = context_.host.messages.openFileName(dialog);
    if (!chosen.isEmpty()) {
        state.ProgName = chosen;
        state.ProgPath = chosen;
        if (TestFile(context_.host.messages, state.ProgDir, chosen, 0) == kFileNotFound)
            return;
        state.TaskId = context_.host.starter.start(requests::pickedProgram(state, state.ProgPath));
    }
    returnToDataDir();
}

void ProgramsMenu::returnToDataDir()
{
    changeCurrentDirectory(context_.state.DataDir);
    items_.dlgOpen.initialDirectory = context_.state.DataDir;
}

} // namespace kadrix
