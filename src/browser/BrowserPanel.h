#pragma once

#include <array>

class QGroupBox;
class QLabel;
class QRadioButton;
class QWidget;

namespace kadrix {

class CaptionCheckBox;
class DirectoryList;
class DriveList;
class FileList;

// The main window's small file browser, by the controls' names: the drive
// and directory lists, the two file lists with their filters, and the labels
// of the trial and the data directory. The window owns the widgets; the
// browser's handlers drive them.
struct BrowserPanel {
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
};

// Builds the browser's controls on the main window's client area, at their
// designed places, with their captions, tooltips, colours and first states.
void buildBrowserPanel(QWidget* client, BrowserPanel& ui);

} // namespace kadrix
