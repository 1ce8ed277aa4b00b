#include "platform/ProgramEnd.h"

namespace kadrix {

QString ProgramEnd::describe() const
{
    switch (kind) {
    case Kind::Exited:
        return QStringLiteral("exit status %1").arg(code);
    case Kind::Signalled:
        return QStringLiteral("ended by signal %1").arg(code);
    case Kind::NotStarted:
        return QStringLiteral("not started: %1").arg(detail);
    case Kind::Unknown:
        break;
    }
    return QStringLiteral("ended, how is not known");
}

} // namespace kadrix
