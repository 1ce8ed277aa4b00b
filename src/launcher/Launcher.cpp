#include "launcher/Launcher.h"

#include "app/MainContext.h"
#include "browser/Browser.h"

namespace kadrix {

Launcher::Launcher(MainContext& context, Browser& browser, QObject* parent)
    : QObject(parent)
    , context_(context)
    , browser_(browser)
{}

int Launcher::RunProgram(const QString& /*path*/, const QString& /*file*/, int /*offer*/)
{
    return 1;
}

void Launcher::cmdAnimate_Click() {}
void Launcher::cmdEdit_Click() {}
void Launcher::cmdView_Click() {}
void Launcher::mnuImages_Click() {}
void Launcher::mnuKadrix_Click(int /*Index*/) {}
void Launcher::mnuCommandLine_Click() {}

} // namespace kadrix
