#include "dgoptions/OptionSwitches.h"

namespace kadrix {

namespace {

void appendIf(QString& switches, bool condition, const char* token)
{
    if (condition)
        switches += QLatin1String(token);
}

} // namespace

QString buildOptionSwitches(const OptionChoices& choices)
{
    QString switches;
    appendIf(switches, choices.readOnly != 0, "/R ");
    appendIf(switches, choices.hideMissing != 0, "/Z ");
    appendIf(switches, choices.filteredData != 0, "/F ");
    appendIf(switches, choices.views[0], "/V1 ");
    appendIf(switches, choices.views[1], "/V2 ");
    appendIf(switches, choices.views[2], "/V3 ");
    appendIf(switches, choices.filteredSelected, "/F ");
    appendIf(switches, choices.reverseX == 1, "/X ");
    return switches;
}

QString referenceSystemSwitch(int refSystem)
{
    if (refSystem == 0)
        return {};
    return QStringLiteral("/S") + QString::number(refSystem) + QLatin1Char(' ');
}

} // namespace kadrix
