#pragma once

class QMenuBar;
class QWidget;

namespace kadrix {

struct MainControls;

// Builds the main window's menus with every item, captions as the user
// knows them, and the items' first enabled, visible and checked states.
void buildMainMenus(QWidget* window, MainControls& ui);
// Puts the menus on the menu bar, in their order. A menu bar loads the
// style's pictures, which start-up leaves until the window is placed.
void attachMainMenus(QMenuBar* menuBar, const MainControls& ui);

} // namespace kadrix
