#pragma once

#include "platform/Messages.h"

#include <array>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QRadioButton;
class QStatusBar;

namespace kadrix {

class CaptionButton;
class CaptionCheckBox;
class DirectoryList;
class DriveList;
class FileList;

// The controls and menu items of the main window, by their names. The window
// owns them; the handlers of each subsystem are given this view of them.
// Items of one menu that share a name are an indexed array.
struct MainControls {
    // Browser
    QLabel* lblDrives = nullptr;
    DriveList* drvDrives = nullptr;
    DirectoryList* dirSelect = nullptr;
    QLabel* lblDatafiles = nullptr;
    FileList* filDatafiles = nullptr;
    QGroupBox* fraImages = nullptr;
    CaptionCheckBox* chkAll = nullptr;
    QLabel* lblConverts = nullptr;
    FileList* filConverts = nullptr;
    QGroupBox* fraConvert = nullptr;
    std::array<QRadioButton*, 4> optConvert{};
    QLabel* lblTrial = nullptr;
    QLabel* lblPath = nullptr;

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

    // The open-file common dialog: its settings between uses.
    OpenFileDialog dlgOpen;

    // "&File"
    QMenu* mnuFiles = nullptr;
    std::array<QAction*, 4> mnuOpen{};
    std::array<QAction*, 4> mnuDOS{};
    QAction* mnuRun = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnnPrintSetup = nullptr;
    QAction* mnuExit = nullptr;

    // "&Data" and "&Convert data ..."
    QMenu* mnuDatafiles = nullptr;
    std::array<QAction*, 5> mnuDatafile{};
    QMenu* mnuConverts = nullptr;
    QMenu* mnuAriel = nullptr;
    std::array<QAction*, 10> mnuArielType{};
    std::array<QAction*, 7> mnuConvert{};

    // "&Animate"
    QMenu* mnuImages = nullptr;
    std::array<QAction*, 4> mnuKadrix{};

    // "&Options"
    QMenu* mnuOptions = nullptr;
    std::array<QAction*, 1> mnuOption{};

    // "&Programs"
    QMenu* mnuPrograms = nullptr;
    std::array<QAction*, 3> mnuProgram{};

    // "&Help"
    QMenu* mnuHelp = nullptr;
    std::array<QAction*, 9> mnuHelpItem{};
    QAction* mnuCommandLine = nullptr;
    QAction* mnuAbout = nullptr;

    // "&Manuals"
    QMenu* mnuManuals = nullptr;
    std::array<QAction*, 3> mnuManual{};
};

} // namespace kadrix
