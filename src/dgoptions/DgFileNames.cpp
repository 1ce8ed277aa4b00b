#include "dgoptions/DgFileNames.h"

#include "dgoptions/SaveErrors.h"
#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"
#include "platform/PathLookup.h"

#include <QStringList>

namespace kadrix {

namespace {

const QString kDgExtension = QStringLiteral(".dg");

bool hasDgName(const QString& path)
{
    const QString name = fileNameOf(path);
    return name.size() > kDgExtension.size() &&
           sameIgnoringAsciiCase(name.right(kDgExtension.size()), kDgExtension);
}

// The trial's .DG file: the one the user picked when it is the trial's
// .DG file, else the one spelt like the trial, else the one spelt in upper
// case; only when none of them exists, any that differs in letter case.
QString trialFile(const QString& dataDir, const QString& trialName, const QString& listedName)
{
    const QString dgName = trialName + kDgExtension;
    QStringList candidates{trialName + QStringLiteral(".DG"), dgName, asciiUpperCased(dgName)};
    if (listedName.startsWith(trialName) && sameIgnoringAsciiCase(listedName, dgName))
        candidates.prepend(listedName);
    for (const QString& candidate : candidates) {
        if (pathExists(joinPath(dataDir, candidate)))
            return joinPath(dataDir, candidate);
    }
    return resolvePathCase(joinPath(dataDir, asciiUpperCased(dgName)));
}

// The file a symbolic link at `path` leads to, through every link on the
// way; nothing when `path` is no link, or a link that leads nowhere (a
// missing trial, then).
QString linkTarget(const QString& path)
{
    return isSymbolicLink(path) ? resolvedPath(path) : QString();
}

void nameFiles(DgFileNames& names, const QString& trial, bool wholePaths)
{
    const QString stem = trial.chopped(kDgExtension.size());
    names.paths = {trial, stem + QStringLiteral(".D$$"), stem + QStringLiteral(".DG!")};
    const auto shown = [wholePaths](const QString& path) {
        return shownName(wholePaths ? path : fileNameOf(path));
    };
    names.trialFileName = shown(names.paths.trial);
    names.temporaryName = shown(names.paths.temporary);
    names.backupFileName = shown(names.paths.backup);
}

} // namespace

QString fileNameOf(const QString& path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString directoryOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return QStringLiteral(".");
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

DgFileNames dgFileNames(const QString& dataDir, const QString& trialName, const QString& listedName)
{
    DgFileNames names;
    names.shownTrial = shownName(asciiUpperCased(trialName + kDgExtension));
    names.shownBackup = shownName(asciiUpperCased(trialName + QStringLiteral(".DG!")));
    // The trial's own spelling, looked up exactly: a file that differs
    // from it only in letter case belongs to another trial.
    const QString trial = trialFile(dataDir, trialName, listedName);
    const QString target = linkTarget(trial);
    if (target.isEmpty()) {
        nameFiles(names, trial, false);
        return names;
    }
    names.link = shownName(fileNameOf(trial));
    if (!hasDgName(target)) {
        nameFiles(names, trial, false);
        names.refused = linkWithoutDgName(names.link, shownName(target));
        return names;
    }
    nameFiles(names, target, true);
    return names;
}

} // namespace kadrix
