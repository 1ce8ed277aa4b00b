#pragma once

#include "dgoptions/DGOptionsControls.h"
#include "dgoptions/OptionSwitches.h"

#include <QWidget>

namespace kadrix {

struct AppState;
class Messages;

// "Refining options": display switches for the animation program and, for
// a .DG trial, the X reversal and reference system kept in its header. Its
// results go to OptionSwitches, to the trial's file through EditDGfile, and
// to the main window's menu mark through hideMissingClicked.
class frmDGOptions final : public QWidget {
    Q_OBJECT

public:
    frmDGOptions(AppState& state, Messages& messages);
    Q_DISABLE_COPY_MOVE(frmDGOptions)

    void Form_Load();
    void chkHideMissing_Click();
    void chkReverseX_Click();
    void cmdExit_Click();
    void cmdCancel_Click();

    // Writes the X reversal and reference system into the current trial's
    // .DG file, keeping the previous file as its backup.
    void EditDGfile();

    bool IsDGTrial() const { return isDGTrial_; }
    int RefSystem() const { return refSystem_; }
    const DGOptionsControls& controls() const { return ui_; }

Q_SIGNALS:
    // "Hide (0,0) coordinates" was clicked; `checked` is its new state.
    void hideMissingClicked(bool checked);

private:
    void connectControls();
    void placeOnScreen();
    void enableForTrial(const QString& extension);
    OptionChoices choices() const;
    int selectedRefSystem() const;
    void showRefiningWarning();

    AppState& state_;
    Messages& messages_;
    DGOptionsControls ui_;
    bool isDGTrial_ = false;
    int refSystem_ = 0;
};

} // namespace kadrix
