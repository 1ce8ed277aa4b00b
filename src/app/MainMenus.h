#pragma once

class QMenuBar;

namespace kadrix {

struct MainControls;

// Builds the main window's menu bar with every menu and item, captions as
// the user knows them, and the items' first enabled, visible and checked
// states.
void buildMainMenus(QMenuBar* menuBar, MainControls& ui);

} // namespace kadrix
