#include "browser/Browser.h"

#include "browser/BrowserPanel.h"
#include "browser/DirectoryList.h"
#include "browser/DirectoryReader.h"
#include "browser/DriveList.h"
#include "browser/FileList.h"
#include "browser/FilePatterns.h"
#include "browser/FileTips.h"
#include "browser/TestTrial.h"
#include "classic/CaptionCheckBox.h"
#include "core/AppState.h"
#include "core/FileNames.h"
#include "core/Settings.h"
#include "core/TrialCaption.h"
#include "core/TrialCommands.h"
#include "platform/FileErrors.h"
#include "platform/Host.h"
#include "platform/Messages.h"
#include "platform/NativeNames.h"

#include <QAction>
#include <QLabel>
#include <QRadioButton>

namespace kadrix {

Browser::Browser(AppState& state, BrowserPanel& panel, Host& host, QObject* parent)
    : QObject(parent)
    , state_(state)
    , ui_(panel)
    , host_(host)
    , reader_(new DirectoryReader(this))
{
    ui_.dirSelect->setSource(reader_);
    ui_.filDatafiles->setSource(reader_);
    ui_.filConverts->setSource(reader_);
    auto* tips = new FileTips(this);
    tips->attach(ui_.filDatafiles, FileTips::Kind::DataFiles);
    tips->attach(ui_.filConverts, FileTips::Kind::Converts);
    connect(reader_, &DirectoryReader::listed, this, &Browser::reportUnreadableListing,
            Qt::QueuedConnection);
    connect(reader_, &DirectoryReader::listed, this, [this](const DirectoryListing& listing) {
        state_.DataDirListing = {listing.path, listing.names};
    });
}

void Browser::drvDrives_Change()
{
    const QString drive = ui_.drvDrives->drive();
    if (const QString problem = ui_.drvDrives->problemOf(drive); !problem.isEmpty()) {
        // Its server does not answer: any look into it could hold the window.
        showDriveProblem({kDeviceUnavailable, problem});
        ui_.drvDrives->refresh();
        ui_.drvDrives->showDriveOf(ui_.dirSelect->path());
        return;
    }
    const QString target = ui_.drvDrives->currentDirectoryOf(drive);
    FileError error = checkEnterable(target);
    if (!error)
        error = ui_.dirSelect->setPath(target);
    if (!error)
        error = changeCurrentDirectory(ui_.dirSelect->path());
    if (error) {
        showDriveProblem(error);
        ui_.drvDrives->refresh();
    }
    ui_.drvDrives->showDriveOf(ui_.dirSelect->path());
}

void Browser::dirSelect_Change()
{
    state_.DataDir = ui_.dirSelect->path();
    if (const FileError error = changeCurrentDirectory(state_.DataDir)) {
        showPathProblem(error);
        // A directory that cannot be entered never becomes the data
        // directory: the browser and DataDir stay where they were.
        ui_.dirSelect->revertPath();
        state_.DataDir = ui_.dirSelect->path();
        changeFailed_ = true;
        return;
    }
    ui_.drvDrives->rememberDirectory(state_.DataDir);
    ui_.drvDrives->showDriveOf(state_.DataDir);
    state_.TrialName.clear();
    state_.TrialExt.clear();
    ui_.lblTrial->setText(QStringLiteral("Selected file:"));
    ui_.lblPath->setText(QStringLiteral("Current path:\n") + shownDirectory(state_.DataDir));
    pointFileListsAt(ui_.dirSelect->path());
    Q_EMIT commandsOffered({.cmdView = false, .cmdAnimate = false, .cmdOptions = false});
    Q_EMIT dataDirEntered(state_.DataDir);
}

void Browser::pointFileListsAt(const QString& directory)
{
    ui_.filDatafiles->setPath(directory);
    ui_.filConverts->setPath(directory);
}

void Browser::filDatafiles_Click()
{
    if (ui_.filDatafiles->listCount() == 0) {
        host_.messages.showMessage(
            {QStringLiteral("No data files (.DG etc.) in this subdirectory."), kApplicationTitle,
             MessageButtons::Ok, MessageIcon::Critical});
    } else {
        setTrialPath(state_, ui_.filDatafiles->selectedName());
        selectTrialFile(state_.TrialPath);
        Q_EMIT commandsOffered({.cmdOptions = true});
    }
    ui_.filConverts->refresh();
    Q_EMIT commandsOffered({.cmdEdit = true,
                            .cmdView = true,
                            .cmdAnimate = true,
                            .cmdConvert = false,
                            .mnuProgram = {std::nullopt, true, false}});
}

void Browser::filConverts_Click()
{
    if (ui_.filConverts->listCount() == 0) {
        host_.messages.showMessage(
            {QStringLiteral("No recognizable data files in this subdirectory."), kApplicationTitle,
             MessageButtons::Ok, MessageIcon::Critical});
    } else {
        selectTrialFile(ui_.filConverts->selectedName());
    }
    ui_.filDatafiles->refresh();
    Q_EMIT commandsOffered({.cmdEdit = false,
                            .cmdView = false,
                            .cmdAnimate = false,
                            .cmdConvert = true,
                            .mnuProgram = {std::nullopt, false, true}});
}

void Browser::selectTrialFile(const QString& fileName)
{
    state_.TrialExt = upperCased(GetExt(fileName));
    state_.TrialName = StripExt(fileName);
    ui_.lblTrial->setText(trialCaption(state_.TrialName, state_.TrialExt));
}

void Browser::filDatafiles_DblClick()
{
    saveDataDir(host_.settings, state_.DataDir);
    Q_EMIT commandsOffered({.cmdOptions = true});
    Q_EMIT animateRequested();
}

void Browser::filConverts_DblClick()
{
    Q_EMIT convertRequested();
}

void Browser::chkAll_Click()
{
    ui_.filDatafiles->setPattern(ui_.chkAll->isChecked() ? kDataFilesWithReadOnly
                                                         : kDataFilesWithoutReadOnly);
}

void Browser::optConvert_Click(int /*Index*/)
{
    size_t chosen = 3;
    for (size_t i = 0; i < 3; ++i) {
        if (ui_.optConvert.at(i)->isChecked()) {
            chosen = i;
            break;
        }
    }
    ui_.filConverts->setPattern(kConvertPatterns.at(chosen));
}

void Browser::cmdRefresh_Click()
{
    ui_.filConverts->refresh();
    ui_.filDatafiles->refresh();
    ui_.drvDrives->refresh();
    ui_.dirSelect->refresh();
}

void Browser::refreshIfChanged()
{
    ui_.drvDrives->refresh();
    reader_->readIfChanged(ui_.dirSelect->path());
}

// A directory that could be entered but not read shows empty lists; the
// user is told why once, not on every refresh.
void Browser::reportUnreadableListing(const DirectoryListing& listing)
{
    if (!listing.answering)
        Q_EMIT directoryNotAnswering(listing.path);
    if (listing.path != ui_.dirSelect->path())
        return;
    if (!listing.answering)
        return; // the directory list says so
    if (listing.readable) {
        reportedProblem_.clear();
    } else if (reportedProblem_ != listing.path) {
        reportedProblem_ = listing.path;
        showPathProblem({kPathFileAccessError, listing.problem});
    }
}

bool Browser::TestTrial()
{
    return kadrix::TestTrial(state_, host_.messages);
}

void Browser::rereadFileListsThen(std::function<void()> then)
{
    reader_->readThen(ui_.filDatafiles->path(),
                      [this, then = std::move(then)](const DirectoryListing& listing) {
                          ui_.filDatafiles->showListing(listing);
                          ui_.filConverts->showListing(listing);
                          then();
                      });
}

void Browser::reportUnopenableDirectory(const FileError& error)
{
    showPathProblem(error);
    ui_.dirSelect->refresh();
}

bool Browser::driveAnswers(const QString& path)
{
    const QString problem = ui_.drvDrives->problemOfDriveHolding(path);
    if (!problem.isEmpty())
        showDriveProblem({kDeviceUnavailable, problem});
    return problem.isEmpty();
}

bool Browser::enterDirectory(const QString& path)
{
    // A directory on a share that does not answer is never looked at.
    if (!driveAnswers(path))
        return false;
    changeFailed_ = false;
    if (const FileError error = ui_.dirSelect->setPath(path)) {
        showPathProblem(error);
        return false;
    }
    return !changeFailed_;
}

void Browser::showPathProblem(const FileError& error)
{
    host_.messages.showMessage(
        {QStringLiteral("There was a problem finding a path. Error was ") + error.description,
         kApplicationTitle, MessageButtons::Ok, MessageIcon::None});
}

void Browser::showDriveProblem(const FileError& error)
{
    host_.messages.showMessage(
        {QStringLiteral("There was a drive problem.\nError was: ") + error.description,
         kApplicationTitle, MessageButtons::Ok, MessageIcon::Critical});
}

} // namespace kadrix
