#include "launcher/ArielFiles.h"

namespace kadrix {

QString arielExtension(int index)
{
    if (index == 0)
        return QStringLiteral(".3d");
    return QLatin1Char('.') + QString::number(index) + QLatin1Char('t');
}

} // namespace kadrix
