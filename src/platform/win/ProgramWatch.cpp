#include "platform/ProgramWatch.h"

#include <windows.h>

namespace kadrix {

namespace {

HANDLE processOf(qintptr endReport)
{
    return reinterpret_cast<HANDLE>(endReport);
}

} // namespace

// The program's own process handle is signalled when it ends: no process
// watches it in between.
ProgramWatch::ProgramWatch(qintptr endReport, qint64 watcherId, QObject* parent)
    : QObject(parent)
    , endReport_(endReport)
    , watcherId_(watcherId)
    , notifier_(processOf(endReport))
{
    connect(&notifier_, &QWinEventNotifier::activated, this, &ProgramWatch::readEnd);
}

// A program still running when the front-end ends is left to run.
ProgramWatch::~ProgramWatch()
{
    notifier_.setEnabled(false);
    if (endReport_ != -1)
        CloseHandle(processOf(endReport_));
}

void ProgramWatch::readEnd()
{
    notifier_.setEnabled(false);
    const HANDLE process = processOf(endReport_);
    DWORD code = 0;
    // Signalled, the process has ended: even an exit code of STILL_ACTIVE is
    // its own. Windows has no signals; a program that was ended has the exit
    // code given to end it.
    const bool known = GetExitCodeProcess(process, &code);
    CloseHandle(process);
    endReport_ = -1;
    ProgramEnd end;
    if (known)
        end = {ProgramEnd::Kind::Exited, static_cast<int>(code), {}};
    Q_EMIT ended(end);
}

} // namespace kadrix
