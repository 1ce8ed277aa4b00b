#include "dgoptions/DgFileNames.h"

#include "platform/PathLookup.h"

#include <QFileInfo>

namespace kadrix {

namespace {

QString trialFile(const QString& dataDir, const QString& trialName, const QString& listedName)
{
    const QString dgName = trialName + QStringLiteral(".dg");
    const bool listedIsDg =
        listedName.startsWith(trialName) && listedName.compare(dgName, Qt::CaseInsensitive) == 0;
    const QString listedPath = joinPath(dataDir, listedName);
    if (listedIsDg && QFileInfo::exists(listedPath))
        return listedPath;
    return resolvePathCase(joinPath(dataDir, dgName.toUpper()));
}

} // namespace

DgFileNames dgFileNames(const QString& dataDir, const QString& trialName, const QString& listedName)
{
    DgFileNames names;
    names.paths.trial = trialFile(dataDir, trialName, listedName);
    names.paths.temporary = resolvePathCase(joinPath(dataDir, trialName + QStringLiteral(".D$$")));
    names.paths.backup = resolvePathCase(joinPath(dataDir, trialName + QStringLiteral(".DG!")));
    names.shownTrial = (trialName + QStringLiteral(".dg")).toUpper();
    names.shownBackup = (trialName + QStringLiteral(".DG!")).toUpper();
    names.temporaryName = QFileInfo(names.paths.temporary).fileName();
    return names;
}

} // namespace kadrix
