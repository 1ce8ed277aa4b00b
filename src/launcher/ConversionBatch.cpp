#include "launcher/ConversionBatch.h"

#include "core/FileNames.h"
#include "core/Settings.h"
#include "core/StartRequests.h"
#include "core/TrialFiles.h"
#include "launcher/DgFiles.h"
#include "platform/Host.h"
#include "platform/NativeNames.h"
#include "platform/Starter.h"

namespace kadrix {

ConversionBatch::ConversionBatch(Host& host, const AppState& state, QStringList files,
                                 QObject* parent)
    : QObject(parent)
    , host_(host)
    , state_(state)
    , files_(std::move(files))
{
    connect(&host_.starter, &Starter::programEnded, this, &ConversionBatch::programEnded);
}

void ConversionBatch::start()
{
    phase_ = Phase::NotingDgFiles;
    listDgFilesThen(state_.DataDir, this, [this](const QStringList& names, const QString& problem) {
        dgBefore_ = names;
        report_.listingProblem = problem;
        phase_ = Phase::Converting;
        startNext();
    });
}

// The file being converted is left to end; no other starts after it.
void ConversionBatch::cancel()
{
    cancelled_ = true;
}

void ConversionBatch::startNext()
{
    if (cancelled_ || next_ == files_.size())
        return stopWithRest();
    const QString file = files_.at(next_++);
    Q_EMIT fileStarted(int(next_), int(files_.size()), file);
    // As "Run &Xfer2DG" after a click on the file; the name chosen in the
    // list is the file converted, whatever its letter case.
    saveDataDir(host_.settings, state_.DataDir);
    setTrialPath(state_, file);
    state_.TrialExt = upperCased(GetExt(file));
    state_.TrialName = StripExt(file);
    setTrialFile(state_, state_.TrialName + QLatin1Char('.') + state_.TrialExt);
    watched_ =
        host_.starter.startWatched(requests::runProgram(state_, state_.ProgPath, state_.TrialPath));
    Q_EMIT startRequested();
    // A start that cannot be made (the user has been told why) would fail
    // the same way for every file left.
    if (watched_ == 0) {
        report_.failed.append(file + QStringLiteral(": could not be started"));
        stopWithRest();
    }
}

void ConversionBatch::programEnded(qint64 start, const ProgramEnd& end)
{
    if (start != watched_ || watched_ == 0)
        return;
    watched_ = 0;
    const QString& file = files_.at(next_ - 1);
    if (end.succeeded())
        report_.converted.append(file);
    else
        report_.failed.append(file + QStringLiteral(": ") + end.describe());
    startNext();
}

void ConversionBatch::stopWithRest()
{
    report_.notConverted = files_.mid(next_);
    next_ = files_.size();
    phase_ = Phase::ComparingDgFiles;
    listDgFilesThen(state_.DataDir, this, [this](const QStringList& names, const QString& problem) {
        compareDgFiles(names, problem);
    });
}

void ConversionBatch::compareDgFiles(const QStringList& names, const QString& problem)
{
    for (const QString& name : names) {
        if (!dgBefore_.contains(name))
            report_.newDgFiles.append(name);
    }
    if (report_.listingProblem.isEmpty())
        report_.listingProblem = problem;
    phase_ = Phase::Done;
    Q_EMIT finished();
}

} // namespace kadrix
