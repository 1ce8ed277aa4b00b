// Start-up of the main window: settings, command line, program directory,
// manual button, browser, and then the trial named on the command line or
// the About box as a splash.

#include "app/ProgramDirectoryHelp.h"
#include "app/StatusPanels.h"
#include "app/frmKadrix.h"
#include "browser/Browser.h"
#include "browser/DirectoryList.h"
#include "browser/DriveList.h"
#include "browser/RecentMenu.h"
#include "classic/CaptionButton.h"
#include "classic/CaptionCheckBox.h"
#include "classic/Twips.h"
#include "core/DesktopCommandLine.h"
#include "core/FileNames.h"
#include "core/FileTest.h"
#include "core/InstallLayout.h"
#include "core/Settings.h"
#include "core/TrialCaption.h"
#include "docs/frmAbout.h"
#include "launcher/Launcher.h"
#include "platform/FileErrors.h"
#include "platform/Host.h"
#include "platform/Messages.h"
#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"
#include "platform/PathLookup.h"
#include "platform/SettingsStore.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace kadrix {

void frmKadrix::Form_Load()
{
    state_.VersionText = versionTextOf(launch_.version);
    LoadSettings();
    recentMenu_->load();
    readCommandLine(state_, launch_.arguments, launch_.argumentText, currentDirectory(),
                    [](const QString& path) { return kindOfPath(path) == PathKind::File; });
    startDir_ = currentDirectory();
    if (state_.DataDir.isEmpty())
        state_.DataDir = currentDirectory();
    checkProgramDirectory();
    state_.ManualsDir = manualsDirectory(state_.ProgDir);
    if (TestFile(host_.messages, state_.ManualsDir, QStringLiteral("kadrix.pdf"), 0) == 0)
        ui_.cmdManuals->setEnabled(true);
    ui_.chkAll->setChecked(true);
    ui_.dlgOpen.initialDirectory = state_.DataDir;
    ui_.lblTrial->setText(trialCaption(state_.TrialName));
    ui_.lblPath->setText(QStringLiteral("Current path: \n") + shownDirectory(state_.DataDir));
    enterDataDirOrRecover();
    // From here on each directory the user goes to is a recent one.
    connect(browser_.get(), &Browser::dataDirEntered, recentMenu_.get(), &RecentMenu::record);
    // The trial is animated before the rest of the window is built, measured
    // and placed: measuring starts the font machinery.
    const bool trialOnCommandLine = !state_.TrialPath.isEmpty();
    if (trialOnCommandLine)
        showCommandLineTrial();
    placeWindow();
    if (!trialOnCommandLine)
        ShowSplash();
}

void frmKadrix::LoadSettings()
{
    SettingsStore& settings = host_.settings;
    const QString current = currentDirectory();
    state_.DataDir = directorySetting(
        settings.getSetting(kSettingsApplication, kSettingsSection, kDataDirKey, current), current,
        current);
    state_.ProgDir = directorySetting(settings.getSetting(kSettingsApplication, kSettingsSection,
                                                          kProgDirKey, launch_.executableDirectory),
                                      launch_.executableDirectory, launch_.executableDirectory);
}

void frmKadrix::placeWindow()
{
    finishWindow();
    adjustSize();
    const QScreen* screen = this->screen();
    const int screenHeight = screen ? screen->geometry().height() : height();
    move(twips(500), (screenHeight - frameGeometry().height()) / 2);
}

void frmKadrix::checkProgramDirectory()
{
    const QString animationProgram = QStringLiteral("kadrix.exe");
    if (TestFile(host_.messages, state_.ProgDir, animationProgram, 0) == 0)
        return;
    const QString storedProgDir = state_.ProgDir;
    state_.ProgDir = launch_.executableDirectory;
    if (TestFile(host_.messages, state_.ProgDir, animationProgram, 0) == 0)
        return;
    host_.messages.showMessage(
        {QStringLiteral("Kadrix.exe was not found in the 'program' directory.\n"
                        "Kadrix.exe and Kadrix95.exe must be in the same directory.\n"),
         kApplicationTitle, MessageButtons::Ok, MessageIcon::Critical,
         programDirectoryHelp({storedProgDir, state_.ProgDir})});
}

// Makes DataDir the current directory and shows it in the drive and
// directory lists, whose change handlers fill the file lists. The root of
// the file system never stays the data directory.
bool frmKadrix::enterDataDir()
{
    const QString directory = resolvePathCase(state_.DataDir);
    if (isFileSystemRoot(directory) || changeCurrentDirectory(directory))
        return false;
    if (!ui_.drvDrives->setDrive(directory))
        return false;
    if (ui_.dirSelect->setPath(directory))
        return false;
    return ui_.dirSelect->path() == absolutePath(directory);
}

void frmKadrix::enterDataDirOrRecover()
{
    if (enterDataDir())
        return;
    state_.DataDir = state_.ProgDir;
    if (enterDataDir())
        return;
    // Not even the program directory serves: the browser stays on the
    // process's current directory, and start-up goes on.
    state_.DataDir = currentDirectory();
    ui_.drvDrives->setDrive(state_.DataDir);
    ui_.dirSelect->setPath(state_.DataDir);
}

void frmKadrix::showCommandLineTrial()
{
    state_.TrialName = StripExt(state_.TrialPath);
    state_.TrialExt = upperCased(GetExt(state_.TrialPath));
    ui_.lblTrial->setText(trialCaption(state_.TrialName));
    launcher_->cmdAnimate_Click();
}

void frmKadrix::ShowSplash()
{
    frmAbout& about = about_.load();
    showAndActivate(about);
    show();
    // Events are processed while the splash is up, without spinning; the
    // wait is measured on a monotonic clock, so a change of the wall clock
    // (midnight, daylight saving) neither shortens nor stretches it.
    const QDeadlineTimer deadline(launch_.splashTime, Qt::PreciseTimer);
    QEventLoop wait;
    const QMetaObject::Connection stop =
        connect(this, &frmKadrix::unloaded, &wait, &QEventLoop::quit);
    while (!deadline.hasExpired() && !unloaded_) {
        QTimer::singleShot(std::max<qint64>(deadline.remainingTime(), 0), Qt::PreciseTimer, &wait,
                           &QEventLoop::quit);
        wait.exec();
    }
    disconnect(stop);
    if (frmAbout* shown = about_.loaded())
        shown->hide();
}

} // namespace kadrix
