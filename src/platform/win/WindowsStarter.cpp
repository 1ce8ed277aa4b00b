#include "platform/win/WindowsStarter.h"

#include "platform/HostStarter.h"
#include "platform/Messages.h"
#include "platform/ProgramEnd.h"
#include "platform/win/WindowsErrors.h"

#include <QDir>
#include <QTimer>
#include <QWinEventNotifier>

#include <windows.h>
// needs the types of windows.h
#include <shellapi.h>

namespace kadrix {

namespace {

std::wstring wide(const QString& text)
{
    return QDir::toNativeSeparators(text).toStdWString();
}

// "command.com" became "cmd.exe" with Windows NT; every other name is
// started as the classic program named it.
QString programOnThisWindows(const QString& program)
{
    return program.compare(QStringLiteral("command.com"), Qt::CaseInsensitive) == 0
               ? QStringLiteral("cmd.exe")
               : program;
}

ProgramEnd endOf(HANDLE process)
{
    DWORD code = 0;
    if (!GetExitCodeProcess(process, &code))
        return {};
    return {ProgramEnd::Kind::Exited, static_cast<int>(code), {}};
}

} // namespace

std::unique_ptr<Starter> makeHostStarter(Messages& messages)
{
    return std::make_unique<WindowsStarter>(messages);
}

WindowsStarter::WindowsStarter(Messages& messages)
    : messages_(messages)
{}

double WindowsStarter::start(const StartRequest& request)
{
    const std::optional<Started> started = launch(request);
    if (!started)
        return 0;
    if (started->process)
        CloseHandle(started->process);
    return static_cast<double>(started->id);
}

qint64 WindowsStarter::startWatched(const StartRequest& request)
{
    const std::optional<Started> started = launch(request);
    if (!started)
        return 0;
    const qint64 start = nextWatch_++;
    watch(start, started->process);
    return start;
}

std::optional<WindowsStarter::Started> WindowsStarter::launch(const StartRequest& request)
{
    return request.kind == StartKind::Shell ? shellStart(request) : commandStart(request);
}

std::optional<WindowsStarter::Started> WindowsStarter::shellStart(const StartRequest& request)
{
    const std::wstring file = wide(programOnThisWindows(request.program));
    const std::wstring parameters = request.parameterText.toStdWString();
    const std::wstring directory = wide(request.workingDirectory);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    info.nShow = request.showCode;
    if (!ShellExecuteExW(&info)) {
        reportFailure(request, GetLastError());
        return std::nullopt;
    }
    if (!info.hProcess) // a document opened in a program already running
        return Started{nullptr, static_cast<qint64>(reinterpret_cast<quintptr>(info.hInstApp))};
    return Started{info.hProcess, static_cast<qint64>(GetProcessId(info.hProcess))};
}

std::optional<WindowsStarter::Started> WindowsStarter::commandStart(const StartRequest& request)
{
    std::wstring command = request.commandText.toStdWString();
    const std::wstring directory = wide(request.workingDirectory);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(request.showCode);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
        reportFailure(request, GetLastError());
        return std::nullopt;
    }
    CloseHandle(process.hThread);
    return Started{process.hProcess, static_cast<qint64>(process.dwProcessId)};
}

// The end is told from the event loop, never before startWatched has
// returned; a start that opened no process of its own ends unknown.
void WindowsStarter::watch(qint64 start, void* process)
{
    if (!process) {
        QTimer::singleShot(0, this, [this, start] { Q_EMIT programEnded(start, {}); });
        return;
    }
    auto* notifier = new QWinEventNotifier(process, this);
    connect(notifier, &QWinEventNotifier::activated, this, [this, start, notifier, process] {
        const ProgramEnd end = endOf(process);
        notifier->setEnabled(false);
        notifier->deleteLater();
        CloseHandle(process);
        Q_EMIT programEnded(start, end);
    });
}

void WindowsStarter::reportFailure(const StartRequest& request, unsigned long error)
{
    messages_.showMessage({QStringLiteral("The program could not be started:\n") +
                               QDir::toNativeSeparators(request.program) + QStringLiteral("\n\n") +
                               describeWindowsError(error),
                           kApplicationTitle, MessageButtons::Ok, MessageIcon::Critical});
}

} // namespace kadrix
