#pragma once

class QWidget;

namespace kadrix {

// Makes a top-level window built on a plain widget known to screen readers
// and other assistive tools as a window, as the main window and the dialogs
// are; otherwise it is announced as a mere client area. Called first thing
// in the window's constructor.
void exposeAsWindow(QWidget& window);

} // namespace kadrix
