#pragma once

#include "browser/BrowserPanel.h"
#include "browser/FileMenu.h"
#include "browser/RecentMenu.h"
#include "dgoptions/OptionsCommands.h"
#include "docs/HelpMenu.h"
#include "launcher/DataMenu.h"
#include "launcher/Launcher.h"
#include "launcher/ProgramsMenu.h"

#include <array>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;

namespace kadrix {

class CaptionButton;

// The controls and menu items of the main window, by their names. The window
// owns them all; each subsystem's handlers are given only the part they
// drive (the browser its panel, each menu's handler its items), and the
// window applies what the handlers decide for the rest.
struct MainControls : BrowserPanel,
                      FileMenuItems,
                      RecentMenuItems,
                      DataMenuItems,
                      AnimateMenuItems,
                      ProgramsMenuItems,
                      OptionsMenuItems,
                      HelpMenuItems {
    // Buttons of the right-hand column, and "&Options"
    CaptionButton* cmdEdit = nullptr;
    CaptionButton* cmdView = nullptr;
    CaptionButton* cmdAnimate = nullptr;
    CaptionButton* cmdConvert = nullptr;
    CaptionButton* cmdRefresh = nullptr;
    CaptionButton* cmdManuals = nullptr;
    CaptionButton* cmdExit = nullptr;
    CaptionButton* cmdOptions = nullptr;

    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 4> statusPanels{};

    // "&File"
    QMenu* mnuFiles = nullptr;
    std::array<QAction*, 4> mnuDOS{};
    QAction* mnuRun = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnnPrintSetup = nullptr;
    QAction* mnuExit = nullptr;

    // "&Data" and "&Convert data ..."
    QMenu* mnuDatafiles = nullptr;
    QMenu* mnuConverts = nullptr;
    QMenu* mnuAriel = nullptr;

    // "&Animate", "&Options", "&Programs"
    QMenu* mnuImages = nullptr;
    QMenu* mnuOptions = nullptr;
    QMenu* mnuPrograms = nullptr;

    // "&Help"
    QMenu* mnuHelp = nullptr;
    QAction* mnuCommandLine = nullptr;
    QAction* mnuAbout = nullptr;

    // "&Manuals"
    QMenu* mnuManuals = nullptr;
    std::array<QAction*, 3> mnuManual{};
};

} // namespace kadrix
