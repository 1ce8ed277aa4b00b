#include "dgoptions/OptionsCommands.h"

namespace kadrix {

OptionsCommands::OptionsCommands(MainContext& context, QObject* parent)
    : QObject(parent)
    , context_(context)
{}

OptionsCommands::~OptionsCommands() = default;

void OptionsCommands::cmdOptions_Click() {}
void OptionsCommands::mnuOption_Click(int /*Index*/) {}

void OptionsCommands::unloadWindows() {}

} // namespace kadrix
