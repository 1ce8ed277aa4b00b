#include "docs/HelpMenu.h"

namespace kadrix {

HelpMenu::HelpMenu(MainContext& context, QObject* parent)
    : QObject(parent)
    , context_(context)
{}

HelpMenu::~HelpMenu() = default;

void HelpMenu::mnuHelp_Click() {}
void HelpMenu::mnuHelpItem_Click(int /*Index*/) {}
void HelpMenu::mnuManual_Click(int /*Index*/) {}
void HelpMenu::cmdManuals_Click() {}

void HelpMenu::unloadWindows() {}

} // namespace kadrix
