#pragma once

class QWidget;

namespace kadrix {

struct AppState;
struct Host;
struct MainControls;

// What every handler of the main window works with: the shared state, the
// window's controls, the host system, and the window itself (the owner of
// the program starts it asks for).
struct MainContext {
    AppState& state;
    MainControls& ui;
    Host& host;
    QWidget& window;
};

} // namespace kadrix
