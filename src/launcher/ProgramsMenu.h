#pragma once

#include "platform/Messages.h"

#include <QObject>

#include <array>

class QAction;

namespace kadrix {

struct HandlerContext;
class Browser;
class Launcher;

// The items of the "&Programs" menu, and the open-file dialog of "&Run a
// program" with its settings between uses.
struct ProgramsMenuItems {
    std::array<QAction*, 3> mnuProgram{};
    OpenFileDialog dlgOpen;
};

// The "&Programs" menu (Acrospin and the two converters on the current
// trial), the system tools of the "&File" menu and "&Run a program".
class ProgramsMenu final : public QObject {
    Q_OBJECT

public:
    ProgramsMenu(HandlerContext& context, ProgramsMenuItems& items, Browser& browser,
                 Launcher& launcher, QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(ProgramsMenu)

    void mnuPrograms_click();
    void mnuProgram_Click(int Index);
    void mnuDOS_Click(int Index);
    void mnuRun_Click();

private:
    bool acrospinFileOpens() const;
    void returnToDataDir();

    HandlerContext& context_;
    ProgramsMenuItems& items_;
    Browser& browser_;
    Launcher& launcher_;
};

} // namespace kadrix
