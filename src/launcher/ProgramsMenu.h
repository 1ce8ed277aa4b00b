#pragma once

#include <QObject>

namespace kadrix {

struct MainContext;
class Browser;
class Launcher;

// The "&Programs" menu (Acrospin and the two converters on the current
// trial), the system tools of the "&File" menu and "&Run a program".
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
    bool acrospinFileOpens() const;
    void returnToDataDir();

    MainContext& context_;
    Browser& browser_;
    Launcher& launcher_;
};

} // namespace kadrix
