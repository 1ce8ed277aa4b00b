#include "dgoptions/OptionsCommands.h"

#include "app/MainContext.h"
#include "app/MainControls.h"
#include "dgoptions/frmDGOptions.h"
#include "platform/Host.h"

#include <QAction>

namespace kadrix {

OptionsCommands::OptionsCommands(MainContext& context, QObject* parent)
    : QObject(parent)
    , context_(context)
    , dialog_([this] { return loadDialog(); })
{}

OptionsCommands::~OptionsCommands() = default;

frmDGOptions* OptionsCommands::loadDialog()
{
    auto* dialog = new frmDGOptions(context_.state, context_.host.messages);
    connect(dialog, &frmDGOptions::hideMissingClicked, this, &OptionsCommands::markHideMissing);
    return dialog;
}

void OptionsCommands::cmdOptions_Click()
{
    showDialog();
}

void OptionsCommands::mnuOption_Click(int Index)
{
    // The item is checkable, so the user's click has just flipped its mark;
    // only "Hide (0,0) coordinates" decides it.
    context_.ui.mnuOption[0]->setChecked(hideMissingMark_);
    if (Index == 0)
        showDialog();
}

void OptionsCommands::showDialog()
{
    showAndActivate(dialog_.load());
}

void OptionsCommands::markHideMissing(bool checked)
{
    hideMissingMark_ = checked;
    context_.ui.mnuOption[0]->setChecked(checked);
}

frmDGOptions* OptionsCommands::dialog() const
{
    return dialog_.loaded();
}

void OptionsCommands::unloadWindows()
{
    dialog_.unload();
}

} // namespace kadrix
