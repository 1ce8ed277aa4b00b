#pragma once

#include <array>

class QGroupBox;
class QPushButton;
class QRadioButton;
class QWidget;

namespace kadrix {

class ThreeStateCheckBox;

// The controls of the DG options dialog, by their names.
struct DGOptionsControls {
    QGroupBox* fraRef = nullptr;
    std::array<QRadioButton*, 10> optRef{}; // index: the reference-system code
    QGroupBox* fraView = nullptr;
    std::array<QRadioButton*, 3> optView{};
    QGroupBox* fraReverse = nullptr;
    ThreeStateCheckBox* chkFilteredData = nullptr;
    ThreeStateCheckBox* chkHideMissing = nullptr;
    ThreeStateCheckBox* chkReadOnly = nullptr;
    ThreeStateCheckBox* chkReverseX = nullptr;
    QGroupBox* fraFiltered = nullptr;
    QRadioButton* optFiltered = nullptr;
    QPushButton* cmdExit = nullptr;
    QPushButton* cmdCancel = nullptr;
};

// Builds the controls on `form` in their design state and gives the form
// its size.
void buildDGOptionsControls(QWidget* form, DGOptionsControls& ui);

} // namespace kadrix
