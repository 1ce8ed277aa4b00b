#pragma once

class QWidget;

namespace kadrix {

struct AppState;
struct Host;

// What every handler of the main window works with besides its own
// controls: the shared state, the host system, and the window that owns the
// program starts and dialogs it asks for.
struct HandlerContext {
    AppState& state;
    Host& host;
    QWidget& window;
};

} // namespace kadrix
