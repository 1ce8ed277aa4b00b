#include "browser/TestTrial.h"

#include "core/AppState.h"
#include "platform/Messages.h"

namespace kadrix {

bool TestTrial(const AppState& state, Messages& messages)
{
    if (!state.TrialName.isEmpty())
        return false;
    messages.showMessage({QStringLiteral("Select a trial from the Data or Conversion menus first."),
                          kApplicationTitle, MessageButtons::Ok, MessageIcon::Question});
    return true;
}

} // namespace kadrix
