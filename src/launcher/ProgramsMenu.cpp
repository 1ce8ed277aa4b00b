#include "launcher/ProgramsMenu.h"

namespace kadrix {

ProgramsMenu::ProgramsMenu(MainContext& context, Browser& browser, Launcher& launcher,
                           QObject* parent)
    : QObject(parent)
    , context_(context)
    , browser_(browser)
    , launcher_(launcher)
{}

void ProgramsMenu::mnuPrograms_click() {}
void ProgramsMenu::mnuProgram_Click(int /*Index*/) {}
void ProgramsMenu::mnuDOS_Click(int /*Index*/) {}
void ProgramsMenu::mnuRun_Click() {}

} // namespace kadrix
