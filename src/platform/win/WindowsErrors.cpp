#include "platform/win/WindowsErrors.h"

#include <windows.h>

namespace kadrix {

QString describeWindowsError(unsigned long error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString description =
        length ? QString::fromWCharArray(text, length).trimmed() : QStringLiteral("Error");
    LocalFree(text);
    return description + QStringLiteral(" (") + QString::number(error) + QLatin1Char(')');
}

} // namespace kadrix
