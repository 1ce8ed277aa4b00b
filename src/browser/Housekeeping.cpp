#include "browser/Housekeeping.h"

#include "core/AppState.h"
#include "platform/FileErrors.h"
#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"
#include "platform/PathLookup.h"

#include <QDir>

namespace kadrix {

QString createSubdirectory(const QString& directory, const QString& name)
{
    const QString path = QDir::cleanPath(QDir(directory).absoluteFilePath(name));
    const QString refusal = QStringLiteral("Directory, ") + lowerCased(path) +
                            QStringLiteral(", could not be created.\n");
    if (pathExists(path))
        return refusal + QStringLiteral("A file or directory of that name exists.");
    if (kindOfPath(path.left(std::max<qsizetype>(path.lastIndexOf(QLatin1Char('/')), 1))) !=
        PathKind::Directory)
        return refusal + QStringLiteral("Path not found");
    if (createDirectory(path) != 0)
        return refusal + QStringLiteral("The name is not valid here, or the directory is "
                                        "write-protected.");
    return {};
}

QString selectedFilePath(const AppState& state)
{
    const QString directory = state.TrialDir.isEmpty() ? state.DataDir : state.TrialDir;
    return resolvePathCase(QDir(directory).absoluteFilePath(state.TrialPath));
}

bool deleteUserFile(const QString& path)
{
    if (kindOfPath(path) != PathKind::File || !mayWrite(path) || hasReadOnlyAttribute(path))
        return false;
    return removeNamedFile(path) == 0;
}

} // namespace kadrix
