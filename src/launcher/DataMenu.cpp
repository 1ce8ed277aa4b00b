#include "launcher/DataMenu.h"

#include "browser/Browser.h"
#include "browser/BrowserPanel.h"
#include "browser/FileList.h"
#include "browser/FileMenu.h"
#include "classic/CaptionButton.h"
#include "core/AppState.h"
#include "core/FileTest.h"
#include "core/HandlerContext.h"
#include "core/Settings.h"
#include "core/StartRequests.h"
#include "core/TrialFiles.h"
#include "launcher/ArielFiles.h"
#include "launcher/ConversionBatch.h"
#include "launcher/ConversionProgress.h"
#include "launcher/Launcher.h"
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

DataMenu::DataMenu(HandlerContext& context, DataMenuItems& items, Browser& browser,
                   Launcher& launcher, FileMenu& fileMenu, QObject* parent)
    : QObject(parent)
    , context_(context)
    , items_(items)
    , browser_(browser)
    , launcher_(launcher)
    , fileMenu_(fileMenu)
{}

bool DataMenu::trialHas(const QString& extension) const
{
    const AppState& state = context_.state;
    return trialFileExists(state, state.TrialName + extension);
}

void DataMenu::mnuDatafiles_Click()
{
    const bool digitized = trialHas(kDg);
    for (size_t i = 1; i < items_.mnuDatafile.size(); ++i)
        items_.mnuDatafile.at(i)->setEnabled(digitized);
    Q_EMIT commandsOffered({.cmdView = digitized, .cmdAnimate = digitized});
    items_.mnuConvert[kCdaItem]->setEnabled(trialHas(QStringLiteral(".cda")));
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
    browser_.panel().filDatafiles->setVisible(true);
    browser_.panel().lblDatafiles->setVisible(true);
    if (browser_.panel().filDatafiles->listCount() == 0) {
        context_.host.messages.showMessage(
            {QStringLiteral("No datafiles in this directory.\nOpen another directory."),
             kApplicationTitle, MessageButtons::Ok, MessageIcon::Exclamation});
        fileMenu_.mnuOpen_Click(0);
        return;
    }
    if (browser_.panel().filDatafiles->listCount() == 1) {
        AppState& state = context_.state;
        state.TrialName =
            browser_.panel().filDatafiles->names().constFirst().section(QLatin1Char('.'), 0, 0);
        browser_.panel().lblTrial->setText(QStringLiteral("Current trial is: ") +
                                           shownName(upperCased(state.TrialName)));
    }
}

void DataMenu::refineData()
{
    AppState& state = context_.state;
    chooseCompanion(context_.state, QStringLiteral("Scalvane"));
    state.TaskId = launcher_.RunProgram(state.ProgPath, state.TrialName + kDg, 1);
}

void DataMenu::animateData()
{
    AppState& state = context_.state;
    chooseCompanion(context_.state, QStringLiteral("Kadrix"));
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
    chooseCompanion(context_.state, QStringLiteral("Sequator"));
    setTrialFile(state, state.TrialName + kDg);
    state.TaskId = context_.host.starter.start(
        requests::companionCommand(state, state.ProgPath, state.TrialPath));
}

void DataMenu::cmdConvert_Click()
{
    const QStringList chosen = browser_.panel().filConverts->selectedNames();
    if (chosen.size() > 1)
        return convertSeveral(chosen);
    AppState& state = context_.state;
    saveDataDir(context_.host.settings, state.DataDir);
    chooseCompanion(context_.state, QStringLiteral("Xfer2DG"));
    setTrialFile(state, state.TrialName + QLatin1Char('.') + state.TrialExt);
    launcher_.RunProgram(state.ProgPath, state.TrialPath, 0);
    // The converter writes its .DG file later; it is listed at the next refresh.
    browser_.panel().filDatafiles->refresh();
}

void DataMenu::convertSeveral(const QStringList& files)
{
    // One run at a time: its window comes forward.
    if (batch_ && batch_->isRunning()) {
        progress_->raise();
        progress_->activateWindow();
        return;
    }
    AppState& state = context_.state;
    chooseCompanion(state, QStringLiteral("Xfer2DG"));
    if (TestFile(context_.host.messages, QString(), state.ProgPath, 1) != 0)
        return;
    delete progress_;
    delete batch_;
    batch_ = new ConversionBatch(context_.host, state, files, this);
    progress_ = new ConversionProgress(*batch_, &context_.window);
    connect(batch_, &ConversionBatch::startRequested, this,
            [this] { browser_.panel().filDatafiles->refresh(); });
    progress_->show();
    batch_->start();
}

void DataMenu::mnuConverts_Click()
{
    for (size_t i = 0; i < items_.mnuArielType.size(); ++i) {
        const bool present = trialHas(arielExtension(static_cast<int>(i)));
        items_.mnuArielType.at(i)->setEnabled(present);
        // "&1T" always stays in the menu.
        if (i != 1)
            items_.mnuArielType.at(i)->setVisible(present);
    }
}

void DataMenu::mnuAriel_Click()
{
    for (size_t i = 0; i < items_.mnuArielType.size(); ++i)
        items_.mnuArielType.at(i)->setEnabled(trialHas(arielExtension(static_cast<int>(i))));
}

void DataMenu::mnuArielType_Click(int Index)
{
    AppState& state = context_.state;
    chooseCompanion(context_.state, QStringLiteral("Kadrix"));
    state.TaskId =
        context_.host.starter.start(requests::animateArielFile(state, arielExtension(Index)));
}

void DataMenu::mnuConvert_Click(int Index)
{
    AppState& state = context_.state;
    if (Index == kCdaItem) {
        chooseCompanion(context_.state, QStringLiteral("Kadrix"));
        state.TaskId = context_.host.starter.start(requests::animateCdaFile(
            state, state.ProgPath, state.TrialName + QStringLiteral(".cda")));
    } else if (Index == kAsciiTextItem) {
        chooseCompanion(context_.state, QStringLiteral("Xfer2DG"));
        state.TaskId = context_.host.starter.start(requests::companionCommand(
            state, state.ProgPath, state.TrialName + QLatin1Char('.') + state.TrialExt));
    } else if (Index != kViconItem) {
        context_.host.messages.showMessage({QStringLiteral("Not yet implemented!"),
                                            QStringLiteral("Kadrix"), MessageButtons::Ok,
                                            MessageIcon::Exclamation});
    }
}

} // namespace kadrix
