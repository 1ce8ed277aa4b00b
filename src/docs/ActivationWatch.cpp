#include "docs/ActivationWatch.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace kadrix {

namespace {

bool isPopup(const QWindow* window)
{
    const Qt::WindowType type = window->type();
    return type == Qt::Popup || type == Qt::ToolTip;
}

} // namespace

ActivationWatch::ActivationWatch(QWidget& window)
    : QObject(&window)
    , window_(window)
{
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this,
            &ActivationWatch::focusWindowChanged);
}

void ActivationWatch::showAndActivate()
{
    showing_ = true;
    activatedWhileShowing_ = false;
    window_.show();
    window_.raise();
    window_.activateWindow();
    showing_ = false;
    if (activatedWhileShowing_)
        return;
    // The window system grants the activation later, or not at all.
    activationAlreadyRun_ = QGuiApplication::focusWindow() != window_.windowHandle();
    Q_EMIT activated();
}

void ActivationWatch::focusWindowChanged(QWindow* focusWindow)
{
    // No focus window: the user went to another application, or the focus
    // is between two windows. Menus and tool tips take no part.
    if (!focusWindow || isPopup(focusWindow))
        return;
    // A focus the window system grants late, after the window was hidden
    // again (as the viewer does when it hands a file to the text editor),
    // activates nothing.
    if (focusWindow == window_.windowHandle() && !window_.isVisible())
        return;
    if (focusWindow != window_.windowHandle()) {
        lastWasThisWindow_ = false;
        lastWasDialog_ = focusWindow->modality() != Qt::NonModal;
        activationAlreadyRun_ = false;
        return;
    }
    const bool fromAnotherWindow = !lastWasThisWindow_ && !lastWasDialog_;
    const bool alreadyRun = activationAlreadyRun_;
    lastWasThisWindow_ = true;
    lastWasDialog_ = false;
    activationAlreadyRun_ = false;
    if (fromAnotherWindow && !alreadyRun) {
        activatedWhileShowing_ = showing_;
        Q_EMIT activated();
    }
}

} // namespace kadrix
