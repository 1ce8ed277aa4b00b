#pragma once

#include "classic/WindowSlot.h"

#include <QObject>
#include <QString>

#include <array>

class QAction;

namespace kadrix {

struct HandlerContext;
class ReaderWindow;
class frmViewer;

// The help-file items of the "&Help" menu.
struct HelpMenuItems {
    std::array<QAction*, 9> mnuHelpItem{};
};

// The "&Help" menu's help files, the "&Manuals" menu and the "Man&ual"
// button, with the text viewer and the PDF reader they open.
class HelpMenu final : public QObject {
    Q_OBJECT

public:
    explicit HelpMenu(HandlerContext& context, HelpMenuItems& items, QObject* parent = nullptr);
    ~HelpMenu() override;
    Q_DISABLE_COPY_MOVE(HelpMenu)

    void mnuHelp_Click();
    void mnuHelpItem_Click(int Index);
    void mnuManual_Click(int Index);
    void cmdManuals_Click();

    // Closes the windows these commands opened, when the program ends.
    void unloadWindows();

    // The windows while they are loaded, else null.
    frmViewer* viewer() const;
    ReaderWindow* reader() const;
    // The document the reader last showed; kept while the reader comes and goes.
    const QString& CurrentDocument() const { return CurrentDocument_; }

private:
    void showViewer();
    void showReader();
    void openManualWithHost();

    HandlerContext& context_;
    HelpMenuItems& items_;
    QString CurrentDocument_;
    WindowSlot<frmViewer> viewer_;
    WindowSlot<ReaderWindow> reader_;
};

} // namespace kadrix
