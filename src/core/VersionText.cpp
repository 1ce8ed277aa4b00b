#include "core/VersionText.h"

#include "BuildVersion.h"

namespace kadrix {

QString versionTextOf(const ProgramVersion& version)
{
    return QString::number(version.major) + QLatin1Char('.') +
           QStringLiteral("%1").arg(version.minor, 2, 10, QLatin1Char('0')) + QStringLiteral(" (") +
           QStringLiteral("%1").arg(version.revision, 3, 10, QLatin1Char('0')) + QLatin1Char(')');
}

ProgramVersion buildVersion()
{
    return {KADRIX_VERSION_MAJOR, KADRIX_VERSION_MINOR, KADRIX_VERSION_REVISION};
}

} // namespace kadrix
