#include "launcher/DataMenu.h"

#include "app/AppState.h"
#include "app/CaptionButton.h"
#include "app/FileTest.h"
#include "app/MainContext.h"
#include "app/MainControls.h"
#include "app/Settings.h"
#include "browser/Browser.h"
#include "browser/FileList.h"
#include "browser/FileMenu.h"
#include "launcher/ArielFiles.h"
#include "launcher/Launcher.h"
#include "launcher/StartRequests.h"
#include "launcher/TrialFiles.h"
#include "platform/Host.h"
#include "platform/Messages.h"
#include "platform/NativeNames.h"
#include "platform/PathLookup.h"
#include "platform/Starter.h"

#include <QAction>
#include <QLabel>

namespace kadrix {

namespace {

const QString kDg = QStringLiteral(".dg");

} // namespace

DataMenu::DataMenu(MainContext& context, Browser& browser, Launcher& launcher, FileMenu& fileMenu,
                   QObject* parent)
    : QObject(parent)
    , context_(context)
    , browser_(browser)
    , launcher_(launcher)
    , fileMenu_(fileMenu)
{}

bool DataMenu::trialHas(const QString& extension) const
{
    const AppState& state = context_.state;
    return trialFileExists(state, state.TrialName + extension);
}

void DataMenu::choose(const QString& program)
{
    AppState& state = context_.state;
    state.ProgName = program;
    state.ProgPath = joinPath(state.ProgDir, program + QStringLiteral(".exe"));
}

void DataMenu::mnuDatafiles_Click()
{
    MainControls& ui = context_.ui;
    const bool digitized = trialHas(kDg);
    for (size_t i = 1; i < ui.mnuDatafile.size(); ++i)
        ui.mnuDatafile.at(i)->setEnabled(digitized);
    ui.cmdView->setEnabled(digitized);
    ui.cmdAnimate->setEnabled(digitized);
    ui.mnuConvert[kCdaItem]->setEnabled(trialHas(QStringLiteral(".cda")));
}

void DataMenu::mnuDatafile_Click(int Index)
{
    switch (Index) {
    case 0:
        return selectDigitizedData();
    case 1:
        return refineData();
    case 2:
        return animateData();
    case 3:
        return editData();
    case 4:
        return renumberData();
    default:
        context_.host.messages.showMessage(
            {QStringLiteral("Program select error in Datafile menu."), kApplicationTitle,
             MessageButtons::Ok, MessageIcon::None});
    }
}

void DataMenu::selectDigitizedData()
{
    browser_.rereadFileListsThen([this] { selectFromFreshLists(); });
}

void DataMenu::selectFromFreshLists()
{
    MainControls& ui = context_.ui;
    ui.filDatafiles->setVisible(true);
    ui.lblDatafiles->setVisible(true);
    if (ui.filDatafiles->listCount() == 0) {
        context_.host.messages.showMessage(
            {QStringLiteral("No datafiles in this directory.\nOpen another directory."),
             kApplicationTitle, MessageButtons::Ok, MessageIcon::Exclamation});
        fileMenu_.mnuOpen_Click(0);
        return;
    }
    if (ui.filDatafiles->listCount() == 1) {
        AppState& state = context_.state;
        state.TrialName = ui.filDatafiles->names().constFirst().section(QLatin1Char('.'), 0, 0);
        ui.lblTrial->setText(QStringLiteral("Current trial is: ") +
                             shownName(upperCased(state.TrialName)));
    }
}

void DataMenu::refineData()
{
    AppState& state = context_.state;
    choose(QStringLiteral("Scalvane"));
    state.TaskId = launcher_.RunProgram(state.ProgPath, state.TrialName + kDg, 1);
}

void DataMenu::animateData()
{
    AppState& state = context_.state;
    choose(QStringLiteral("Kadrix"));
    setTrialFile(state, state.TrialName + kDg);
    launcher_.RunProgram(state.ProgPath, state.TrialPath, 0);
}

void DataMenu::editData()
{
    AppState& state = context_.state;
    state.ProgName = QStringLiteral("Notepad");
    state.ProgPath = state.ProgName + QStringLiteral(".exe");
    setTrialFile(state, state.TrialName + kDg);
    state.TaskId = context_.host.starter.start(
        requests::companionCommand(state, state.ProgPath, state.TrialPath));
}

void DataMenu::renumberData()
{
    AppState& state = context_.state;
    if (TestFile(context_.host.messages, state.DataDir,
                 trialFileOnDisk(state, state.TrialName + kDg), 1, &state.DataDirListing) != 0)
        return;
    choose(QStringLiteral("Sequator"));
    setTrialFile(state, state.TrialName + kDg);
    state.TaskId = context_.host.starter.start(
        requests::companionCommand(state, state.ProgPath, state.TrialPath));
}

void DataMenu::cmdConvert_Click()
{
    AppState& state = context_.state;
    saveDataDir(context_.host.settings, state.DataDir);
    choose(QStringLiteral("Xfer2DG"));
    setTrialFile(state, state.TrialName + QLatin1Char('.') + state.TrialExt);
    launcher_.RunProgram(state.ProgPath, state.TrialPath, 0);
    // The converter writes its .DG file later; it is listed at the next refresh.
    context_.ui.filDatafiles->refresh();
}

void DataMenu::mnuConverts_Click()
{
    MainControls& ui = context_.ui;
    for (size_t i = 0; i < ui.mnuArielType.size(); ++i) {
        const bool present = trialHas(arielExtension(static_cast<int>(i)));
        ui.mnuArielType.at(i)->setEnabled(present);
        // "&1T" always stays in the menu.
        if (i != 1)
            ui.mnuArielType.at(i)->setVisible(present);
    }
}

void DataMenu::mnuAriel_Click()
{
    MainControls& ui = context_.ui;
    for (size_t i = 0; i < ui.mnuArielType.size(); ++i)
        ui.mnuArielType.at(i)->setEnabled(trialHas(arielExtension(static_cast<int>(i))));
}

void DataMenu::mnuArielType_Click(int Index)
{
    AppState& state = context_.state;
    choose(QStringLiteral("Kadrix"));
    state.TaskId =
        context_.host.starter.start(requests::animateArielFile(state, arielExtension(Index)));
}

void DataMenu::mnuConvert_Click(int Index)
{
    AppState& state = context_.state;
    if (Index == kCdaItem) {
        choose(QStringLiteral("Kadrix"));
        state.TaskId = context_.host.starter.start(requests::animateCdaFile(
            state, state.ProgPath, state.TrialName + QStringLiteral(".cda")));
    } else if (Index == kAsciiTextItem) {
        choose(QStringLiteral("Xfer2DG"));
        state.TaskId = context_.host.starter.start(requests::companionCommand(
            state, state.ProgPath, state.TrialName + QLatin1Char('.') + state.TrialExt));
    } else if (Index != kViconItem) {
        context_.host.messages.showMessage({QStringLiteral("Not yet implemented!"),
                                            QStringLiteral("Kadrix"), MessageButtons::Ok,
                                            MessageIcon::Exclamation});
    }
}

} // namespace kadrix
