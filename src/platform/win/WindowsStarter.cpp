#include "platform/win/WindowsStarter.h"

#include "platform/HostStarter.h"
#include "platform/Messages.h"
#include "platform/win/WindowsErrors.h"

#include <QDir>

#include <windows.h>

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
    return request.kind == StartKind::Shell ? shellStart(request) : commandStart(request);
}

double WindowsStarter::shellStart(const StartRequest& request)
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
        return 0;
    }
    double started = static_cast<double>(reinterpret_cast<quintptr>(info.hInstApp));
    if (info.hProcess) {
        started = static_cast<double>(GetProcessId(info.hProcess));
        CloseHandle(info.hProcess);
    }
    return started;
}

double WindowsStarter::commandStart(const StartRequest& request)
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
        return 0;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<double>(process.dwProcessId);
}

void WindowsStarter::reportFailure(const StartRequest& request, unsigned long error)
{
    messages_.showMessage({QStringLiteral("The program could not be started:\n") +
                               QDir::toNativeSeparators(request.program) +
                               QStringLiteral("\n\n") + describeWindowsError(error),
                           kApplicationTitle, MessageButtons::Ok, MessageIcon::Critical});
}

} // namespace kadrix
