#include "launcher/Launcher.h"

#include "browser/Browser.h"
#include "core/AppState.h"
#include "core/FileTest.h"
#include "core/HandlerContext.h"
#include "core/StartRequests.h"
#include "core/TrialFiles.h"
#include "platform/Host.h"
#include "platform/Messages.h"
#include "platform/PathLookup.h"
#include "platform/Starter.h"

#include <QAction>

#include <array>

namespace kadrix {

namespace {

// The trial's files that the "&Animate" menu's items animate, by index.
const std::array<QString, 4> kAnimatedExtensions = {QStringLiteral(".dg"), QStringLiteral(".cn"),
                                                    QStringLiteral(".km"), QStringLiteral(".sn")};

QString animatedExtension(int index)
{
    if (index < 0 || index >= static_cast<int>(kAnimatedExtensions.size()))
        return {};
    return kAnimatedExtensions.at(static_cast<size_t>(index));
}

} // namespace

Launcher::Launcher(HandlerContext& context, AnimateMenuItems& items, Browser& browser,
                   QObject* parent)
    : QObject(parent)
    , context_(context)
    , items_(items)
    , browser_(browser)
{}

int Launcher::RunProgram(const QString& path, const QString& file, int offer)
{
    AppState& state = context_.state;
    if (TestFile(context_.host.messages, QString(), path, 1) != 0)
        return 1;
    state.TaskId = context_.host.starter.start(requests::runProgram(state, path, file));
    // A start known to have failed leaves no output to offer.
    if (offer != 0 && state.TaskId != 0)
        offerOutput();
    return 0;
}

void Launcher::offerOutput()
{
    AppState& state = context_.state;
    const MessageAnswer answer = context_.host.messages.showMessage(
        {QStringLiteral("Do you want to view the output produced by the program, \n") +
             state.ProgName.toUpper() + QStringLiteral(".  If so, click Yes to view the output?"),
         QStringLiteral("View output"), MessageButtons::YesNo, MessageIcon::Question});
    if (answer != MessageAnswer::Yes)
        return;
    state.ViewerFile = joinPath(state.DataDir, state.ProgName + QStringLiteral(".out"));
    state.TaskId = context_.host.starter.start(requests::notepadOn(state, state.ViewerFile));
}

void Launcher::chooseAnimationProgram()
{
    chooseCompanion(context_.state, QStringLiteral("Kadrix"));
}

void Launcher::animateTrial(const QString& switches)
{
    AppState& state = context_.state;
    chooseAnimationProgram();
    setTrialFile(state, state.TrialName + QLatin1Char('.') + state.TrialExt);
    state.TaskId = context_.host.starter.start(requests::animateTrial(state, switches));
}

void Launcher::cmdAnimate_Click()
{
    animateTrial(QStringLiteral("/q /1 /r "));
}

void Launcher::cmdEdit_Click()
{
    animateTrial(QString());
}

void Launcher::cmdView_Click()
{
    animateTrial(QStringLiteral("/a "));
}

void Launcher::mnuImages_Click()
{
    if (browser_.TestTrial())
        return;
    const AppState& state = context_.state;
    for (size_t i = 0; i < kAnimatedExtensions.size(); ++i) {
        items_.mnuKadrix.at(i)->setEnabled(
            trialFileExists(state, state.TrialName + kAnimatedExtensions.at(i)));
    }
}

void Launcher::mnuKadrix_Click(int Index)
{
    AppState& state = context_.state;
    chooseAnimationProgram();
    setTrialFile(state, state.TrialName + animatedExtension(Index));
    state.TaskId = context_.host.starter.start(
        requests::companionCommand(state, state.ProgPath, state.TrialPath));
}

void Launcher::mnuCommandLine_Click()
{
    AppState& state = context_.state;
    state.TaskId = context_.host.starter.start(requests::commandLineHelp(state));
}

} // namespace kadrix
