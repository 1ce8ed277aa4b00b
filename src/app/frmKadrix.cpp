#include "app/frmKadrix.h"

#include "app/MainLayout.h"
#include "app/MainMenus.h"
#include "app/StatusPanels.h"
#include "browser/Browser.h"
#include "browser/DirectoryList.h"
#include "browser/DriveList.h"
#include "browser/FileList.h"
#include "browser/FileMenu.h"
#include "browser/PathOpener.h"
#include "browser/RecentMenu.h"
#include "classic/Artwork.h"
#include "classic/CaptionButton.h"
#include "classic/CaptionCheckBox.h"
#include "classic/Fonts.h"
#include "classic/Twips.h"
#include "core/Settings.h"
#include "dgoptions/OptionsCommands.h"
#include "docs/HelpMenu.h"
#include "docs/frmAbout.h"
#include "launcher/DataMenu.h"
#include "launcher/Launcher.h"
#include "launcher/ProgramsMenu.h"
#include "platform/FileErrors.h"
#include "platform/Host.h"
#include "platform/SettingsStore.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>

namespace kadrix {

namespace {

const QColor kWindowColour(128, 255, 128);

template <typename Control, typename Signal, typename Handler>
void connectEach(QObject* context, const Control& controls, Signal signal, Handler handler)
{
    for (size_t i = 0; i < controls.size(); ++i) {
        const int index = static_cast<int>(i);
        QObject::connect(controls.at(i), signal, context, [handler, index] { handler(index); });
    }
}

} // namespace

frmKadrix::frmKadrix(Host& host, LaunchInfo launch)
    : host_(host)
    , launch_(std::move(launch))
    , context_{state_, host_, *this}
    , about_([this] { return new frmAbout(state_, this); })
{
    buildWindow();
    browser_ = std::make_unique<Browser>(state_, ui_, host_);
    launcher_ = std::make_unique<Launcher>(context_, ui_, *browser_);
    fileMenu_ = std::make_unique<FileMenu>(context_, ui_, *browser_);
    recentMenu_ = std::make_unique<RecentMenu>(context_, ui_, *browser_);
    pathOpener_ = std::make_unique<PathOpener>(*browser_);
    dataMenu_ = std::make_unique<DataMenu>(context_, ui_, *browser_, *launcher_, *fileMenu_);
    programsMenu_ = std::make_unique<ProgramsMenu>(context_, ui_, *browser_, *launcher_);
    optionsCommands_ = std::make_unique<OptionsCommands>(context_, ui_);
    helpMenu_ = std::make_unique<HelpMenu>(context_, ui_);
    connectBrowser();
    connectButtons();
    connectMenus();
    connectRecentDirectories();
    connectDropAndPaste();
    browser_->optConvert_Click(1);
}

frmKadrix::~frmKadrix()
{
    about_.unload();
}

frmAbout* frmKadrix::aboutBox() const
{
    return about_.loaded();
}

void frmKadrix::buildWindow()
{
    setObjectName(QStringLiteral("frmKadrix"));
    setWindowTitle(QStringLiteral("Kadrix for Windows"));
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setFixedSize(twips(8610), twips(5490));
    client_->setFont(sansSerifFont(8.25));
    client_->setAutoFillBackground(true);
    QPalette palette = client_->palette();
    palette.setColor(QPalette::Window, kWindowColour);
    client_->setPalette(palette);
    client_->installEventFilter(this);
    setCentralWidget(client_);
    buildMainControls(client_, ui_);
    buildMainMenus(this, ui_);
}

// What start-up does not need before it animates the trial on the command
// line: built when the window is placed. (The status bar measures its text,
// which starts the font machinery, and the menu bar loads the style's
// pictures, which brings in the image format plugins.)
void frmKadrix::finishWindow()
{
    setWindowIcon(programIcon());
    attachMainMenus(menuBar(), ui_);
    // The status bar lies along the bottom of the client area, as the
    // classic status bar control did.
    ui_.StatusBar1 = new QStatusBar(client_);
    ui_.StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    ui_.StatusBar1->setSizeGripEnabled(false);
    statusPanels_ = new StatusPanels(ui_.StatusBar1, ui_.statusPanels);
    statusPanels_->followStarts(host_.starter);
    statusPanels_->showVersion(state_.VersionText);
    const int barHeight = ui_.StatusBar1->sizeHint().height();
    ui_.StatusBar1->setGeometry(0, client_->height() - barHeight, client_->width(), barHeight);
}

void frmKadrix::connectBrowser()
{
    Browser* browser = browser_.get();
    connect(ui_.drvDrives, &DriveList::changed, browser, &Browser::drvDrives_Change);
    connect(ui_.dirSelect, &DirectoryList::changed, browser, &Browser::dirSelect_Change);
    connect(ui_.dirSelect, &DirectoryList::openFailed, browser,
            &Browser::reportUnopenableDirectory);
    connect(ui_.filDatafiles, &FileList::fileClicked, browser, &Browser::filDatafiles_Click);
    connect(ui_.filDatafiles, &FileList::fileDoubleClicked, browser,
            &Browser::filDatafiles_DblClick);
    connect(ui_.filConverts, &FileList::fileClicked, browser, &Browser::filConverts_Click);
    connect(ui_.filConverts, &FileList::fileDoubleClicked, browser, &Browser::filConverts_DblClick);
    connect(ui_.chkAll, &QCheckBox::toggled, browser, &Browser::chkAll_Click);
    for (size_t i = 0; i < ui_.optConvert.size(); ++i) {
        const int index = static_cast<int>(i);
        connect(ui_.optConvert.at(i), &QRadioButton::toggled, browser,
                [browser, index](bool selected) {
                    if (selected)
                        browser->optConvert_Click(index);
                });
    }
    connect(browser, &Browser::animateRequested, launcher_.get(), &Launcher::cmdAnimate_Click);
    connect(browser, &Browser::convertRequested, dataMenu_.get(), &DataMenu::cmdConvert_Click);
    connect(browser, &Browser::commandsOffered, this, &frmKadrix::applyCommands);
    connect(dataMenu_.get(), &DataMenu::commandsOffered, this, &frmKadrix::applyCommands);
}

void frmKadrix::applyCommands(const TrialCommands& commands)
{
    const auto apply = [](auto* control, std::optional<bool> enabled) {
        if (enabled)
            control->setEnabled(*enabled);
    };
    apply(ui_.cmdEdit, commands.cmdEdit);
    apply(ui_.cmdView, commands.cmdView);
    apply(ui_.cmdAnimate, commands.cmdAnimate);
    apply(ui_.cmdConvert, commands.cmdConvert);
    apply(ui_.cmdOptions, commands.cmdOptions);
    for (size_t i = 0; i < ui_.mnuProgram.size(); ++i)
        apply(ui_.mnuProgram.at(i), commands.mnuProgram.at(i));
}

void frmKadrix::connectButtons()
{
    connect(ui_.cmdEdit, &QPushButton::clicked, launcher_.get(), &Launcher::cmdEdit_Click);
    connect(ui_.cmdView, &QPushButton::clicked, launcher_.get(), &Launcher::cmdView_Click);
    connect(ui_.cmdAnimate, &QPushButton::clicked, launcher_.get(), &Launcher::cmdAnimate_Click);
    connect(ui_.cmdConvert, &QPushButton::clicked, dataMenu_.get(), &DataMenu::cmdConvert_Click);
    connect(ui_.cmdRefresh, &QPushButton::clicked, browser_.get(), &Browser::cmdRefresh_Click);
    connect(ui_.cmdManuals, &QPushButton::clicked, helpMenu_.get(), &HelpMenu::cmdManuals_Click);
    connect(ui_.cmdExit, &QPushButton::clicked, this, &frmKadrix::cmdExit_Click);
    connect(ui_.cmdOptions, &QPushButton::clicked, optionsCommands_.get(),
            &OptionsCommands::cmdOptions_Click);
}

void frmKadrix::connectMenus()
{
    FileMenu* files = fileMenu_.get();
    DataMenu* data = dataMenu_.get();
    Launcher* launcher = launcher_.get();
    ProgramsMenu* programs = programsMenu_.get();
    OptionsCommands* options = optionsCommands_.get();
    HelpMenu* help = helpMenu_.get();

    connect(ui_.mnuFiles, &QMenu::aboutToShow, files, &FileMenu::mnuFiles_Click);
    connectEach(files, ui_.mnuOpen, &QAction::triggered,
                [files](int i) { files->mnuOpen_Click(i); });
    connectEach(programs, ui_.mnuDOS, &QAction::triggered,
                [programs](int i) { programs->mnuDOS_Click(i); });
    connect(ui_.mnuRun, &QAction::triggered, programs, &ProgramsMenu::mnuRun_Click);
    connect(ui_.mnuPrint, &QAction::triggered, files, &FileMenu::mnuPrint_Click);
    connect(ui_.mnnPrintSetup, &QAction::triggered, files, &FileMenu::mnnPrintSetup_Click);
    connect(ui_.mnuExit, &QAction::triggered, this, &frmKadrix::mnuExit_Click);

    connect(ui_.mnuDatafiles, &QMenu::aboutToShow, data, &DataMenu::mnuDatafiles_Click);
    connectEach(data, ui_.mnuDatafile, &QAction::triggered,
                [data](int i) { data->mnuDatafile_Click(i); });
    connect(ui_.mnuConverts, &QMenu::aboutToShow, data, &DataMenu::mnuConverts_Click);
    connect(ui_.mnuAriel, &QMenu::aboutToShow, data, &DataMenu::mnuAriel_Click);
    connectEach(data, ui_.mnuArielType, &QAction::triggered,
                [data](int i) { data->mnuArielType_Click(i); });
    connectEach(data, ui_.mnuConvert, &QAction::triggered,
                [data](int i) { data->mnuConvert_Click(i); });

    connect(ui_.mnuImages, &QMenu::aboutToShow, launcher, &Launcher::mnuImages_Click);
    connectEach(launcher, ui_.mnuKadrix, &QAction::triggered,
                [launcher](int i) { launcher->mnuKadrix_Click(i); });
    connectEach(options, ui_.mnuOption, &QAction::triggered,
                [options](int i) { options->mnuOption_Click(i); });

    connect(ui_.mnuPrograms, &QMenu::aboutToShow, programs, &ProgramsMenu::mnuPrograms_click);
    connectEach(programs, ui_.mnuProgram, &QAction::triggered,
                [programs](int i) { programs->mnuProgram_Click(i); });

    connect(ui_.mnuHelp, &QMenu::aboutToShow, help, &HelpMenu::mnuHelp_Click);
    connectEach(help, ui_.mnuHelpItem, &QAction::triggered,
                [help](int i) { help->mnuHelpItem_Click(i); });
    connect(ui_.mnuCommandLine, &QAction::triggered, launcher, &Launcher::mnuCommandLine_Click);
    connect(ui_.mnuAbout, &QAction::triggered, this, &frmKadrix::mnuAbout_Click);
    connectEach(help, ui_.mnuManual, &QAction::triggered,
                [help](int i) { help->mnuManual_Click(i); });
}

// The recent directories are saved where the data directory is saved, and
// at every end of the program.
void frmKadrix::connectRecentDirectories()
{
    RecentMenu* recent = recentMenu_.get();
    connectEach(recent, ui_.mnuRecent, &QAction::triggered,
                [recent](int i) { recent->mnuRecent_Click(i); });
    connect(browser_.get(), &Browser::directoryNotAnswering, recent, &RecentMenu::forget);
    connect(browser_.get(), &Browser::animateRequested, recent, &RecentMenu::save);
    connect(browser_.get(), &Browser::convertRequested, recent, &RecentMenu::save);
    connect(ui_.cmdConvert, &QPushButton::clicked, recent, &RecentMenu::save);
}

void frmKadrix::cmdExit_Click()
{
    saveDataDir(host_.settings, state_.DataDir);
    close();
}

void frmKadrix::mnuExit_Click()
{
    close();
}

void frmKadrix::mnuAbout_Click()
{
    showAndActivate(about_.load());
}

void frmKadrix::Form_DblClick()
{
    showAndActivate(about_.load());
}

void frmKadrix::Form_GotFocus()
{
    browser_->refreshIfChanged();
}

bool frmKadrix::TestTrial()
{
    return browser_->TestTrial();
}

void frmKadrix::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmKadrix::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    recentMenu_->save();
    changeCurrentDirectory(startDir_);
    about_.unload();
    optionsCommands_->unloadWindows();
    helpMenu_->unloadWindows();
    Q_EMIT unloaded();
}

void frmKadrix::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !unloaded_)
        Form_GotFocus();
}

bool frmKadrix::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == client_ && event->type() == QEvent::MouseButtonDblClick)
        Form_DblClick();
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kadrix
