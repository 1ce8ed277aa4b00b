#include "platform/WineStart.h"

namespace kadrix {

namespace {

const QString kNoWine = QStringLiteral("Wine is not used on Windows.");

} // namespace

// Windows programs start as themselves here: HostPrograms never hands a
// start to Wine, and these answer only a start that reached them anyway.
WineStartOutcome runWineStart(const WineStartJob&, const std::atomic<bool>&)
{
    WineStartOutcome outcome;
    outcome.failed = true;
    outcome.reason = kNoWine;
    return outcome;
}

ProgramEnd wineProgramEnd(const WineStartOutcome& outcome, const std::atomic<bool>&)
{
    return {ProgramEnd::Kind::NotStarted, 0, outcome.reason.isEmpty() ? kNoWine : outcome.reason};
}

QString wineLogDirectory(const QProcessEnvironment&)
{
    return {};
}

} // namespace kadrix
