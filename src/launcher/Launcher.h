#pragma once

#include <QObject>

#include <array>

class QAction;

namespace kadrix {

struct HandlerContext;
class Browser;

// The items of the "&Animate" menu.
struct AnimateMenuItems {
    std::array<QAction*, 4> mnuKadrix{};
};

// Starts the animation program on the current trial: the three trial
// buttons, the "&Animate" menu and "Command line help"; and RunProgram,
// which every launcher uses to start a companion program on one file.
class Launcher final : public QObject {
    Q_OBJECT

public:
    Launcher(HandlerContext& context, AnimateMenuItems& items, Browser& browser,
             QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(Launcher)

    // Starts the program at `path` on `file` through the shell, after
    // checking that the program file can be opened: 0 when the start was
    // asked for, 1 when it could not be opened (the user has been told).
    // With `offer` not 0, offers to show the program's ".out" file.
    int RunProgram(const QString& path, const QString& file, int offer);

    void cmdAnimate_Click();
    void cmdEdit_Click();
    void cmdView_Click();
    void mnuImages_Click();
    void mnuKadrix_Click(int Index);
    void mnuCommandLine_Click();

    // Names the animation program as the program being started.
    void chooseAnimationProgram();

private:
    void animateTrial(const QString& switches);
    void offerOutput();

    HandlerContext& context_;
    AnimateMenuItems& items_;
    Browser& browser_;
};

} // namespace kadrix
