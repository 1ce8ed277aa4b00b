#pragma once

#include <QObject>

namespace kadrix {

struct MainContext;
class Browser;

// Starts the animation program on the current trial: the three trial
// buttons, the "&Animate" menu and "Command line help"; and RunProgram,
// which every launcher uses to start a companion program on one file.
class Launcher final : public QObject {
    Q_OBJECT

public:
    Launcher(MainContext& context, Browser& browser, QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(Launcher)

    int RunProgram(const QString& path, const QString& file, int offer);

    void cmdAnimate_Click();
    void cmdEdit_Click();
    void cmdView_Click();
    void mnuImages_Click();
    void mnuKadrix_Click(int Index);
    void mnuCommandLine_Click();

private:
    MainContext& context_;
    Browser& browser_;
};

} // namespace kadrix
