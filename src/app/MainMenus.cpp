#include "app/MainMenus.h"

#include "app/MainControls.h"
#include "classic/Fonts.h"
#include "classic/FormBuilder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace kadrix {

namespace {

// The menus share the window's face, as the classic menus shared the
// dialogs' system face; a second face would be loaded for them alone.
QMenu* menu(QWidget* window, const char* name, const QString& caption)
{
    auto* created = new QMenu(caption, window);
    created->setFont(sansSerifFont(8.25));
    created->setObjectName(QString::fromLatin1(name));
    created->menuAction()->setObjectName(QString::fromLatin1(name));
    return created;
}

QMenu* submenu(QMenu* parent, const char* name, const QString& caption)
{
    QMenu* created = parent->addMenu(caption);
    created->setFont(parent->font());
    created->setObjectName(QString::fromLatin1(name));
    created->menuAction()->setObjectName(QString::fromLatin1(name));
    return created;
}

void separator(QMenu* parent, const char* name)
{
    parent->addSeparator()->setObjectName(QString::fromLatin1(name));
}

void buildFileMenu(QWidget* window, MainControls& ui)
{
    ui.mnuFiles = menu(window, "mnuFiles", QStringLiteral("&File"));
    menuItems(ui.mnuFiles, "mnuOpen", ui.mnuOpen,
              {"&Open a directory", "&Create a directory", "&Remove the current directory",
               "&Delete selected file"});
    separator(ui.mnuFiles, "mnuBar");
    menuItems(ui.mnuFiles, "mnuDOS", ui.mnuDOS,
              {"&Calculator", "&DOS prompt", "&Explorer", "&Notepad"});
    ui.mnuRun = menuItem(ui.mnuFiles, "mnuRun", QStringLiteral("&Run a program"));
    separator(ui.mnuFiles, "mnuBar2");
    ui.mnuPrint = menuItem(ui.mnuFiles, "mnuPrint", QStringLiteral("&Print"));
    ui.mnnPrintSetup = menuItem(ui.mnuFiles, "mnnPrintSetup", QStringLiteral("Printer Set&up"));
    separator(ui.mnuFiles, "mnuBar1");
    // The recent data directories, "&1 ..." to "&8 ...", and their own
    // separator: all hidden until a directory is listed.
    for (size_t i = 0; i < ui.mnuRecent.size(); ++i)
        ui.mnuRecent.at(i) = menuItem(ui.mnuFiles, "mnuRecent", QString(), static_cast<int>(i));
    separator(ui.mnuFiles, "mnuRecentBar");
    ui.mnuRecentBar = ui.mnuFiles->actions().back();
    ui.mnuExit = menuItem(ui.mnuFiles, "mnuExit", QStringLiteral("&Exit"));
}

void buildDataMenu(QWidget* window, MainControls& ui)
{
    ui.mnuDatafiles = menu(window, "mnuDatafiles", QStringLiteral("&Data"));
    menuItems(ui.mnuDatafiles, "mnuDatafile", ui.mnuDatafile,
              {"&Select digitized data", "&Refine/scale data (Scalvane)", "&Graph/animate data",
               "&Edit/view data in ASCII", "Re&number data"});
    ui.mnuDatafiles->addSeparator();
    ui.mnuConverts = submenu(ui.mnuDatafiles, "mnuConverts", QStringLiteral("&Convert data ..."));
    ui.mnuAriel = submenu(ui.mnuConverts, "mnuAriel", QStringLiteral("&Ariel Dynamics ..."));
    menuItems(ui.mnuAriel, "mnuArielType", ui.mnuArielType,
              {"3&D", "&1T", "&2T", "&3T", "&4T", "&5T", "&6T", "&7T", "&8T", "&9T"});
    for (size_t i = 0; i < ui.mnuArielType.size(); ++i)
        ui.mnuArielType.at(i)->setVisible(i == 1);
    menuItems(ui.mnuConverts, "mnuConvert", ui.mnuConvert,
              {"&Elite", "&Motion Analysis", "&Northern Digital", "&Peak Performance", "&Qualisys",
               "ASCII &text file", "&Vicon"});
    for (size_t i = 0; i < ui.mnuConvert.size(); ++i)
        ui.mnuConvert.at(i)->setEnabled(i == 5);
}

void buildAnimateAndOptionsMenus(QWidget* window, MainControls& ui)
{
    ui.mnuImages = menu(window, "mnuImages", QStringLiteral("&Animate"));
    menuItems(ui.mnuImages, "mnuKadrix", ui.mnuKadrix,
              {"&Digitized data (.DG)", "&Refined data (.CN)", "&Filtered data (.KM)",
               "&Simulated data (.SN)"});
    ui.mnuOptions = menu(window, "mnuOptions", QStringLiteral("&Options"));
    menuItems(ui.mnuOptions, "mnuOption", ui.mnuOption, {"&Change reference system"});
    ui.mnuOption[0]->setCheckable(true);
}

void buildProgramsMenu(QWidget* window, MainControls& ui)
{
    ui.mnuPrograms =
        menu(window, "mnuPrograms", QStringLiteral("&Programs") + QString(15, QLatin1Char(' ')));
    menuItems(ui.mnuPrograms, "mnuProgram", ui.mnuProgram, {"&Acrospin", "&Xfer2ACD", "&Xfer2DG"});
}

void buildHelpMenus(QWidget* window, MainControls& ui)
{
    ui.mnuHelp = menu(window, "mnuHelp", QStringLiteral("&Help"));
    menuItems(ui.mnuHelp, "mnuHelpItem", ui.mnuHelpItem,
              {"Over&view", "&Tavromu", "&Scalvane", "&DG file format", "&Ground reactions",
               "&Kadrix", "&Kinematics", "Installation &Readme", "&Updates"});
    separator(ui.mnuHelp, "mnuBar11");
    ui.mnuCommandLine = menuItem(ui.mnuHelp, "mnuCommandLine", QStringLiteral("Command line help"));
    separator(ui.mnuHelp, "mnuBar12");
    ui.mnuAbout = menuItem(ui.mnuHelp, "mnuAbout", QStringLiteral("&About Kadrix for Windows"));

    ui.mnuManuals = menu(window, "mnuManuals", QStringLiteral("&Manuals"));
    menuItems(ui.mnuManuals, "mnuManual", ui.mnuManual,
              {"&Scalvane .DG file format", "&Kadrix User's Manual", "&Other manuals"});
}

} // namespace

void buildMainMenus(QWidget* window, MainControls& ui)
{
    buildFileMenu(window, ui);
    buildDataMenu(window, ui);
    buildAnimateAndOptionsMenus(window, ui);
    buildProgramsMenu(window, ui);
    buildHelpMenus(window, ui);
}

void attachMainMenus(QMenuBar* menuBar, const MainControls& ui)
{
    menuBar->setFont(sansSerifFont(8.25));
    for (QMenu* menu : {ui.mnuFiles, ui.mnuDatafiles, ui.mnuImages, ui.mnuOptions, ui.mnuPrograms,
                        ui.mnuHelp, ui.mnuManuals})
        menuBar->addMenu(menu);
}

} // namespace kadrix
