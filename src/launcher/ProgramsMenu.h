#pragma once

#include <QObject>

namespace kadrix {

struct MainContext;
class Browser;
class Launcher;

// The "&Programs" menu, the system tools of the "&File" menu and
// "&Run a program".
class ProgramsMenu final : public QObject {
    Q_OBJECT

public:
    ProgramsMenu(MainContext& context, Browser& browser, Launcher& launcher,
                 QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(ProgramsMenu)

    void mnuPrograms_click();
    void mnuProgram_Click(int Index);
    void mnuDOS_Click(int Index);
    void mnuRun_Click();

private:
    MainContext& context_;
    Browser& browser_;
    Launcher& launcher_;
};

} // namespace kadrix
