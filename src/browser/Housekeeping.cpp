#include "browser/Housekeeping.h"

#include "app/AppState.h"
#include "platform/FileErrors.h"
#include "platform/PathLookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kadrix {

QString createSubdirectory(const QString& directory, const QString& name)
{
    const QString path = QDir::cleanPath(QDir(directory).absoluteFilePath(name));
    const QString refusal = QStringLiteral("Directory, ") + path.toLower() +
                            QStringLiteral(", could not be created.\n");
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return refusal + QStringLiteral("A file or directory of that name exists.");
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        return refusal + QStringLiteral("Path not found");
    if (!QDir().mkdir(path))
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
    const QFileInfo file(path);
    if (!file.isFile() || !file.isWritable() || hasReadOnlyAttribute(path))
        return false;
    return QFile::remove(path);
}

} // namespace kadrix
