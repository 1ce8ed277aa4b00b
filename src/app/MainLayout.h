#pragma once

class QWidget;

namespace kadrix {

struct MainControls;

// Builds the main window's controls on its client area, at their designed
// places, with their captions, tooltips, colours, fonts and first states.
void buildMainControls(QWidget* client, MainControls& ui);

} // namespace kadrix
