#include "platform/ProcessStarter.h"

#include "platform/Messages.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace kadrix {

ProcessStarter::ProcessStarter(Messages& messages, HostPrograms hostPrograms)
    : messages_(messages)
    , hostPrograms_(std::move(hostPrograms))
{}

double ProcessStarter::start(const StartRequest& request)
{
    const ProgramToStart target =
        hostPrograms_.map(request.program, request.arguments, request.workingDirectory);
    if (!target.failure.isEmpty()) {
        reportFailure(request, target.failure);
        return 0;
    }
    if (!request.workingDirectory.isEmpty() && !QFileInfo(request.workingDirectory).isDir()) {
        reportFailure(request, QStringLiteral("The directory to start it in, ") +
                                   request.workingDirectory + QStringLiteral(", was not found."));
        return 0;
    }
    // Arguments go to the program as a list, never through a shell.
    QProcess process;
    process.setProgram(target.program);
    process.setArguments(target.arguments);
    process.setWorkingDirectory(request.workingDirectory);
    process.setStandardInputFile(QProcess::nullDevice());
    qint64 processId = 0;
    if (!process.startDetached(&processId)) {
        reportFailure(request, process.errorString());
        return 0;
    }
    return static_cast<double>(processId);
}

void ProcessStarter::reportFailure(const StartRequest& request, const QString& reason)
{
    messages_.showMessage({QStringLiteral("The program could not be started:\n") +
                               QDir::toNativeSeparators(request.program) + QStringLiteral("\n\n") +
                               reason,
                           kApplicationTitle, MessageButtons::Ok, MessageIcon::Critical});
}

} // namespace kadrix
