#pragma once

#include "core/TrialCommands.h"

#include <QObject>

#include <functional>

namespace kadrix {

struct AppState;
struct BrowserPanel;
struct DirectoryListing;
struct FileError;
struct Host;
class DirectoryReader;

// The handlers of the main window's small file browser: the drive and
// directory lists, the two file lists and their filters, the trial that a
// click selects, and the button states that follow from it.
class Browser final : public QObject {
    Q_OBJECT

public:
    Browser(AppState& state, BrowserPanel& panel, Host& host, QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(Browser)

    DirectoryReader& reader() { return *reader_; }
    BrowserPanel& panel() { return ui_; }

    void drvDrives_Change();
    void dirSelect_Change();
    void filDatafiles_Click();
    void filDatafiles_DblClick();
    void filConverts_Click();
    void filConverts_DblClick();
    void chkAll_Click();
    void optConvert_Click(int Index);
    void cmdRefresh_Click();
    // The refresh when the main window gets the focus: the lists are read
    // again only when the watch on the directory cannot vouch for them.
    void refreshIfChanged();
    bool TestTrial();

    // Re-reads the data directory on the worker, shows it in both file
    // lists, then runs `then`: for handlers that act on what the lists hold
    // right after reading. Dropped when another directory is chosen first.
    void rereadFileListsThen(std::function<void()> then);
    // A directory the user opened in the directory list could not be opened.
    void reportUnopenableDirectory(const FileError& error);
    // Opens `path` as a choice in the directory list would, the drive
    // following; a drive that does not answer, or a directory that cannot
    // be entered, is reported as the drive and directory lists report it.
    // True when `path` is the data directory afterwards.
    bool enterDirectory(const QString& path);
    // Whether the drive holding `path` answered when last asked; when not,
    // says so as the drive list does.
    bool driveAnswers(const QString& path);

Q_SIGNALS:
    // A double-click asks for the natural action on the file just selected.
    void animateRequested();
    void convertRequested();
    // What a change of directory or trial offers of the trial's commands.
    void commandsOffered(const TrialCommands& commands);
    // A directory has become the data directory.
    void dataDirEntered(const QString& directory);
    // The reading of `directory` has read nothing for a while.
    void directoryNotAnswering(const QString& directory);

private:
    void selectTrialFile(const QString& fileName);
    void showPathProblem(const FileError& error);
    void showDriveProblem(const FileError& error);
    void pointFileListsAt(const QString& directory);
    void reportUnreadableListing(const DirectoryListing& listing);

    AppState& state_;
    BrowserPanel& ui_;
    Host& host_;
    DirectoryReader* reader_ = nullptr;
    // The directory whose reading problem the user was last told of, so
    // that each refresh does not tell it again.
    QString reportedProblem_;
    // The last change of directory failed and was taken back.
    bool changeFailed_ = false;
};

} // namespace kadrix
