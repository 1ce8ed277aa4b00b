#include "platform/ProgramWatch.h"

#include <cerrno>
#include <sys/wait.h>
#include <unistd.h>

namespace kadrix {

ProgramWatch::ProgramWatch(qintptr endReport, qint64 watcherId, QObject* parent)
    : QObject(parent)
    , endReport_(endReport)
    , watcherId_(watcherId)
    , notifier_(endReport, QSocketNotifier::Read)
{
    connect(&notifier_, &QSocketNotifier::activated, this, &ProgramWatch::readEnd);
}

// A program still running when the front-end ends is left to run: its
// watcher finds no reader and ends with it.
ProgramWatch::~ProgramWatch()
{
    if (endReport_ >= 0)
        ::close(int(endReport_));
}

void ProgramWatch::readEnd()
{
    notifier_.setEnabled(false);
    int status = 0;
    ssize_t count = 0;
    do
        count = ::read(int(endReport_), &status, sizeof status);
    while (count < 0 && errno == EINTR);
    ::close(int(endReport_));
    endReport_ = -1;
    // The watcher writes the status as its last act: it has ended or is
    // about to, so waiting for it here takes no time.
    while (::waitpid(pid_t(watcherId_), nullptr, 0) < 0 && errno == EINTR) {
    }
    ProgramEnd end;
    if (count == sizeof status && WIFEXITED(status))
        end = {ProgramEnd::Kind::Exited, WEXITSTATUS(status), {}};
    else if (count == sizeof status && WIFSIGNALED(status))
        end = {ProgramEnd::Kind::Signalled, WTERMSIG(status), {}};
    Q_EMIT ended(end);
}

} // namespace kadrix
