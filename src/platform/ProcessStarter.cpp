#include "platform/ProcessStarter.h"

#include "platform/Messages.h"

#include <QProcess>

namespace kadrix {

ProcessStarter::ProcessStarter(Messages& messages)
    : messages_(messages)
{}

double ProcessStarter::start(const StartRequest& request)
{
    qint64 processId = 0;
    QProcess process;
    process.setProgram(request.program);
    process.setArguments(request.arguments);
    process.setWorkingDirectory(request.workingDirectory);
    if (process.startDetached(&processId))
        return static_cast<double>(processId);
    messages_.showMessage({QStringLiteral("Cannot start the program ") + request.program +
                               QStringLiteral(".\n") + process.errorString(),
                           kApplicationTitle, MessageButtons::Ok, MessageIcon::Critical});
    return 0;
}

} // namespace kadrix
