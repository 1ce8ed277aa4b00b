#pragma once

#include "platform/Messages.h"
#include "platform/StartRequest.h"

#include <QTest>

namespace kadrix {

// How QCOMPARE shows a message box when two differ.
inline char* toString(const MessageBox& box)
{
    return QTest::toString(QStringLiteral("[%1] %2 (buttons %3, icon %4)")
                               .arg(box.title, box.text)
                               .arg(static_cast<int>(box.buttons))
                               .arg(static_cast<int>(box.icon)));
}

// How QCOMPARE shows a start request when two differ.
inline char* toString(const StartRequest& request)
{
    return QTest::toString(QStringLiteral("%1 %2 [%3] in %4, show %5: %6")
                               .arg(request.kind == StartKind::Shell ? QStringLiteral("shell")
                                                                     : QStringLiteral("command"),
                                    request.program, request.arguments.join(QStringLiteral("] [")),
                                    request.workingDirectory)
                               .arg(request.showCode)
                               .arg(request.commandText));
}

} // namespace kadrix
