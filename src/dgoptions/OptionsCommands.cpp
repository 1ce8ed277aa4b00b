#include "dgoptions/OptionsCommands.h"

#include "core/HandlerContext.h"
#include "dgoptions/frmDGOptions.h"
#include "platform/Host.h"

#include <QAction>

namespace kadrix {

OptionsCommands::OptionsCommands(HandlerContext& context, OptionsMenuItems& items, QObject* parent)
    : QObject(parent)
    , context_(context)
    , items_(items)
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
    items_.mnuOption[0]->setChecked(hideMissingMark_);
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
    items_.mnuOption[0]->setChecked(checked);
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
