#pragma once

// The main window and the owner of the application.
//
//   frmKadrix owns the shared AppState, its controls and menus (MainControls),
//   the About box, and one handler object per subsystem:
//     Browser          drive, directory and file lists; the trial   src/browser
//     FileMenu         directory and file housekeeping, printing    src/browser
//     RecentMenu       the recent data directories ("&File")        src/browser
//     PathOpener       files and directories dropped or pasted      src/browser
//     Launcher         RunProgram, trial buttons, "&Animate" menu   src/launcher
//     DataMenu         "&Data" menu, conversions                    src/launcher
//     ProgramsMenu     "&Programs" menu and system tools            src/launcher
//     OptionsCommands  the DG options dialog                        src/dgoptions
//     HelpMenu         help texts, manuals, viewer and reader       src/docs
//   This class builds the window and connects each control to its handler;
//   the handlers reach the host system only through Host.

#include "app/MainControls.h"
#include "classic/WindowSlot.h"
#include "core/AppState.h"
#include "core/HandlerContext.h"
#include "core/VersionText.h"

#include <QMainWindow>

#include <chrono>
#include <memory>

namespace kadrix {

struct Host;
class Browser;
class DataMenu;
class FileMenu;
class HelpMenu;
class Launcher;
class OptionsCommands;
class PathOpener;
class ProgramsMenu;
class RecentMenu;
class StatusPanels;
class frmAbout;

class frmKadrix final : public QMainWindow {
    Q_OBJECT

public:
    // What start-up learns from outside: the argument text, the directory of
    // the executable, the version, how long the splash stays, and the
    // arguments one by one as the desktop passed them.
    struct LaunchInfo {
        QString argumentText;
        QString executableDirectory;
        ProgramVersion version;
        std::chrono::milliseconds splashTime{3000};
        QStringList arguments{};
    };

    frmKadrix(Host& host, LaunchInfo launch);
    ~frmKadrix() override;
    Q_DISABLE_COPY_MOVE(frmKadrix)

    // Start-up: returns once the window is ready and the splash has gone.
    void Form_Load();
    void LoadSettings();
    void ShowSplash();

    void cmdExit_Click();
    void mnuExit_Click();
    void mnuAbout_Click();
    void Form_DblClick();
    void Form_GotFocus();
    bool TestTrial();

    bool isUnloaded() const { return unloaded_; }
    const QString& StartDir() const { return startDir_; }

    AppState& state() { return state_; }
    MainControls& controls() { return ui_; }
    Browser& browser() { return *browser_; }
    FileMenu& fileMenu() { return *fileMenu_; }
    RecentMenu& recentMenu() { return *recentMenu_; }
    PathOpener& pathOpener() { return *pathOpener_; }
    Launcher& launcher() { return *launcher_; }
    DataMenu& dataMenu() { return *dataMenu_; }
    ProgramsMenu& programsMenu() { return *programsMenu_; }
    OptionsCommands& optionsCommands() { return *optionsCommands_; }
    HelpMenu& helpMenu() { return *helpMenu_; }
    frmAbout* aboutBox() const;

Q_SIGNALS:
    // The window has been unloaded: the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildWindow();
    void finishWindow();
    void connectBrowser();
    void connectButtons();
    void connectMenus();
    void connectRecentDirectories();
    void connectDropAndPaste();
    void applyCommands(const TrialCommands& commands);
    void placeWindow();
    void checkProgramDirectory();
    void enterDataDirOrRecover();
    bool enterDataDir();
    void showCommandLineTrial();
    void Form_Unload();

    Host& host_;
    LaunchInfo launch_;
    AppState state_;
    MainControls ui_;
    HandlerContext context_;
    QString startDir_;
    bool unloaded_ = false;
    QWidget* client_ = nullptr;
    StatusPanels* statusPanels_ = nullptr;
    WindowSlot<frmAbout> about_;
    std::unique_ptr<Browser> browser_;
    std::unique_ptr<FileMenu> fileMenu_;
    std::unique_ptr<RecentMenu> recentMenu_;
    std::unique_ptr<PathOpener> pathOpener_;
    std::unique_ptr<Launcher> launcher_;
    std::unique_ptr<DataMenu> dataMenu_;
    std::unique_ptr<ProgramsMenu> programsMenu_;
    std::unique_ptr<OptionsCommands> optionsCommands_;
    std::unique_ptr<HelpMenu> helpMenu_;
};

} // namespace kadrix
