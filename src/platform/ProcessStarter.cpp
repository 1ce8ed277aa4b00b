#include "platform/ProcessStarter.h"

#include "platform/DetachedStart.h"
#include "platform/Messages.h"
#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"
#include "platform/ProgramWatch.h"
#include "platform/WineStart.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

namespace kadrix {

namespace {

const QString kSettingsApplication = QStringLiteral("Movarta");
const QString kSettingsSection = QStringLiteral("Startup");

QString startingText(const QString& name)
{
    return QStringLiteral("Starting %1 through Wine\u2026").arg(name);
}

} // namespace

ProcessStarter::ProcessStarter(Messages& messages, HostPrograms hostPrograms)
    : messages_(messages)
    , hostPrograms_(std::move(hostPrograms))
{
    // A watched start holds a worker until its program ends.
    workers_.setMaxThreadCount(qMax(4, QThread::idealThreadCount()));
}

ProcessStarter::~ProcessStarter()
{
    closing_ = true;
    workers_.waitForDone();
}

std::optional<ProgramToStart> ProcessStarter::startable(const StartRequest& request)
{
    const ProgramToStart target =
        hostPrograms_.map(request.program, request.arguments, request.workingDirectory);
    if (!target.failure.isEmpty()) {
        reportFailure(request, target.failure);
        return std::nullopt;
    }
    if (!request.workingDirectory.isEmpty() &&
        kindOfPath(request.workingDirectory) != PathKind::Directory) {
        reportFailure(request, QStringLiteral("The directory to start it in, ") +
                                   shownName(request.workingDirectory) +
                                   QStringLiteral(", was not found."));
        return std::nullopt;
    }
    return target;
}

double ProcessStarter::start(const StartRequest& request)
{
    const std::optional<ProgramToStart> target = startable(request);
    if (!target)
        return 0;
    if (!target->wine.isEmpty())
        return startThroughWine(request, *target);
    // Arguments go to the program as a list, never through a shell.
    const DetachedStart started =
        startDetached(target->program, target->arguments, request.workingDirectory);
    if (!started.failure.isEmpty()) {
        reportFailure(request, started.failure);
        return 0;
    }
    return static_cast<double>(started.processId);
}

qint64 ProcessStarter::startWatched(const StartRequest& request)
{
    const std::optional<ProgramToStart> target = startable(request);
    if (!target)
        return 0;
    const qint64 number = nextWatchedStart_++;
    if (!target->wine.isEmpty())
        return startThroughWine(request, *target, number) != 0 ? number : 0;
    const DetachedStart started = startDetached(target->program, target->arguments,
                                                request.workingDirectory, StartWatch::Yes);
    if (!started.failure.isEmpty()) {
        reportFailure(request, started.failure);
        return 0;
    }
    auto* watch = new ProgramWatch(started.endReport, started.watcherId, this);
    connect(watch, &ProgramWatch::ended, this, [this, watch, number](const ProgramEnd& end) {
        watch->deleteLater();
        Q_EMIT programEnded(number, end);
    });
    return number;
}

double ProcessStarter::startThroughWine(const StartRequest& request, const ProgramToStart& target,
                                        qint64 watched)
{
    const QStringList programAndArguments = target.arguments.mid(target.wine.size() - 1);
    const QString name = QFileInfo(programAndArguments.first()).fileName().toUpper();
    // A second request for the same program while it is being started
    // would start a second copy; it is refused, and the status says why.
    if (underWay_.contains(name)) {
        Q_EMIT progressChanged(QStringLiteral("Still starting %1 through Wine\u2026").arg(name));
        return 0;
    }
    WineStartJob job{target.wine,
                     programAndArguments,
                     request.workingDirectory,
                     QProcessEnvironment::systemEnvironment(),
                     settings_->getSetting(kSettingsApplication, kSettingsSection,
                                           QStringLiteral("Datadir"), {}),
                     settings_->getSetting(kSettingsApplication, kSettingsSection,
                                           QStringLiteral("Progdir"), {}),
                     {}};
    if (!job.environment.contains(QStringLiteral("WINEDEBUG")))
        job.environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
    job.logDirectory = wineLogDirectory(job.environment);
    underWay_.append(name);
    Q_EMIT progressChanged(startingText(name));
    workers_.start([this, job, request, name, watched] {
        const WineStartOutcome outcome = runWineStart(job, closing_);
        QMetaObject::invokeMethod(
            this, [this, request, name, outcome] { wineStartEnded(request, name, outcome); },
            Qt::QueuedConnection);
        if (watched == 0)
            return;
        const ProgramEnd end = wineProgramEnd(outcome, closing_);
        if (!closing_)
            QMetaObject::invokeMethod(
                this, [this, watched, end] { Q_EMIT programEnded(watched, end); },
                Qt::QueuedConnection);
    });
    return nextStartNumber_++;
}

void ProcessStarter::wineStartEnded(const StartRequest& request, const QString& name,
                                    const WineStartOutcome& outcome)
{
    underWay_.removeOne(name);
    // A start without its log says so in the status until the next start.
    const QString withoutLog = outcome.failed || outcome.logProblem.isEmpty()
                                   ? QString()
                                   : QStringLiteral("Started %1 through Wine without a log: %2.")
                                         .arg(name, outcome.logProblem);
    Q_EMIT progressChanged(underWay_.isEmpty() ? withoutLog : startingText(underWay_.last()));
    if (!outcome.failed)
        return;
    QString reason = outcome.reason;
    if (!outcome.lastLines.isEmpty())
        reason += QStringLiteral("\n\nWine's log, %1, ends with:\n%2")
                      .arg(QDir::toNativeSeparators(outcome.logPath), outcome.lastLines);
    if (!outcome.logProblem.isEmpty())
        reason += QStringLiteral("\n\nWine's output was not kept: %1.").arg(outcome.logProblem);
    reportFailure(request, reason);
}

void ProcessStarter::reportFailure(const StartRequest& request, const QString& reason)
{
    messages_.showMessage({QStringLiteral("The program could not be started:\n") +
                               shownName(QDir::toNativeSeparators(request.program)) +
                               QStringLiteral("\n\n") + reason,
                           kApplicationTitle, MessageButtons::Ok, MessageIcon::Critical});
}

} // namespace kadrix
