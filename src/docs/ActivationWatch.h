#pragma once

#include <QObject>

class QWidget;
class QWindow;

namespace kadrix {

// Tells when a window becomes the program's active window, as the classic
// windows knew it: another window of the program was active before. Coming
// back from one of the program's dialogs or message boxes, or from another
// application, is no activation, so a window that shows a message when it
// is activated does not show it again when the message is closed.
class ActivationWatch final : public QObject {
    Q_OBJECT

public:
    explicit ActivationWatch(QWidget& window);
    Q_DISABLE_COPY_MOVE(ActivationWatch)

    // Shows the window and asks for it to be made active; the activation
    // runs now, once, whether or not the window system grants the request.
    void showAndActivate();

Q_SIGNALS:
    void activated();

private:
    void focusWindowChanged(QWindow* focusWindow);

    QWidget& window_;
    bool lastWasThisWindow_ = false;
    bool lastWasDialog_ = false;
    bool activationAlreadyRun_ = false;
    bool showing_ = false;
    bool activatedWhileShowing_ = false;
};

} // namespace kadrix
