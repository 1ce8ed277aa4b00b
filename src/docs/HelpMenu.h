#pragma once

#include <QObject>

namespace kadrix {

struct MainContext;

// The "&Help" menu's help files, the "&Manuals" menu and the "Man&ual"
// button, with the text viewer and the PDF reader they open.
class HelpMenu final : public QObject {
    Q_OBJECT

public:
    explicit HelpMenu(MainContext& context, QObject* parent = nullptr);
    ~HelpMenu() override;
    Q_DISABLE_COPY_MOVE(HelpMenu)

    void mnuHelp_Click();
    void mnuHelpItem_Click(int Index);
    void mnuManual_Click(int Index);
    void cmdManuals_Click();

    // Closes the windows these commands opened, when the program ends.
    void unloadWindows();

private:
    MainContext& context_;
};

} // namespace kadrix
