#include "dgoptions/DgFileNames.h"

#include "platform/PathLookup.h"

#include <QFileInfo>

namespace kadrix {

namespace {

bool existsExactly(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The trial's .DG file: the one the user picked when it is the trial's
// .DG file, else the one spelt like the trial, else the one spelt in upper
// case; only when none of them exists, any that differs in letter case.
QString trialFile(const QString& dataDir, const QString& trialName, const QString& listedName)
{
    const QString dgName = trialName + QStringLiteral(".dg");
    QStringList candidates{trialName + QStringLiteral(".DG"), dgName, dgName.toUpper()};
    if (listedName.startsWith(trialName) && listedName.compare(dgName, Qt::CaseInsensitive) == 0)
        candidates.prepend(listedName);
    for (const QString& candidate : candidates) {
        if (existsExactly(joinPath(dataDir, candidate)))
            return joinPath(dataDir, candidate);
    }
    return resolvePathCase(joinPath(dataDir, dgName.toUpper()));
}

} // namespace

DgFileNames dgFileNames(const QString& dataDir, const QString& trialName, const QString& listedName)
{
    DgFileNames names;
    names.paths.trial = trialFile(dataDir, trialName, listedName);
    // The trial's own spelling, looked up exactly: a file that differs
    // from it only in letter case belongs to another trial.
    const QFileInfo trial(names.paths.trial);
    const QString stem = trial.path() + QLatin1Char('/') + trial.fileName().chopped(3);
    names.paths.temporary = stem + QStringLiteral(".D$$");
    names.paths.backup = stem + QStringLiteral(".DG!");
    names.shownTrial = (trialName + QStringLiteral(".dg")).toUpper();
    names.shownBackup = (trialName + QStringLiteral(".DG!")).toUpper();
    names.temporaryName = QFileInfo(names.paths.temporary).fileName();
    names.trialFileName = trial.fileName();
    return names;
}

} // namespace kadrix
