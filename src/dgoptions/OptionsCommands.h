#pragma once

#include "classic/WindowSlot.h"

#include <QObject>

#include <array>

class QAction;

namespace kadrix {

struct HandlerContext;
class frmDGOptions;

// The items of the "&Options" menu.
struct OptionsMenuItems {
    std::array<QAction*, 1> mnuOption{};
};

// Opens the DG options dialog from the "&Options" button and the
// "&Change reference system" menu item, and keeps that item's check mark
// in step with the dialog's "Hide (0,0) coordinates" box.
class OptionsCommands final : public QObject {
    Q_OBJECT

public:
    explicit OptionsCommands(HandlerContext& context, OptionsMenuItems& items,
                             QObject* parent = nullptr);
    ~OptionsCommands() override;
    Q_DISABLE_COPY_MOVE(OptionsCommands)

    void cmdOptions_Click();
    void mnuOption_Click(int Index);

    // Closes the windows these commands opened, when the program ends.
    void unloadWindows();

    // The dialog while it is loaded, else null.
    frmDGOptions* dialog() const;

private:
    frmDGOptions* loadDialog();
    void showDialog();
    void markHideMissing(bool checked);

    HandlerContext& context_;
    OptionsMenuItems& items_;
    WindowSlot<frmDGOptions> dialog_;
    bool hideMissingMark_ = false;
};

} // namespace kadrix
