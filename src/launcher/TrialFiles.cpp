#include "launcher/TrialFiles.h"

#include "app/AppState.h"
#include "platform/PathLookup.h"

#include <QDir>
#include <QFileInfo>

namespace kadrix {

namespace {

bool existsAsWritten(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString inDirectory(const QString& directory, const QString& name)
{
    if (QDir::isAbsolutePath(name))
        return QDir::fromNativeSeparators(name);
    const QString base = directory.isEmpty() ? QDir::currentPath() : directory;
    return QDir::fromNativeSeparators(joinPath(base, name));
}

// A path cut at the last dot of its file name: {"/d/walk", "dg"}; no
// extension when the name has no dot after its first character.
struct SplitName {
    QString stem;
    QString extension;
};

SplitName splitExtension(const QString& path)
{
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= nameStart)
        return {path, {}};
    return {path.left(dot), path.mid(dot + 1)};
}

QString inLetterCaseOf(const QString& text, const QString& model)
{
    if (model == model.toUpper())
        return text.toUpper();
    if (model == model.toLower())
        return text.toLower();
    return text;
}

QString onDisk(const QString& path)
{
    return existsAsWritten(path) ? path : resolvePathCase(path);
}

QString siblingOnDisk(const SplitName& trial, const QString& extension)
{
    const QStringList spellings{trial.stem + QLatin1Char('.') +
                                    inLetterCaseOf(extension, trial.extension),
                                trial.stem + QLatin1Char('.') + extension};
    for (const QString& spelling : spellings) {
        if (existsAsWritten(spelling))
            return spelling;
    }
    return resolvePathCase(spellings.constLast());
}

QString findTrialFile(const AppState& state, const QString& path)
{
    if (state.TrialPath.isEmpty())
        return onDisk(path);
    const QString typed =
        inDirectory(state.TrialDir.isEmpty() ? state.DataDir : state.TrialDir, state.TrialPath);
    const QString trial = onDisk(typed);
    if (path.compare(typed, Qt::CaseInsensitive) == 0)
        return trial;
    const SplitName built = splitExtension(path);
    if (built.extension.isEmpty() ||
        built.stem.compare(splitExtension(typed).stem, Qt::CaseInsensitive) != 0)
        return onDisk(path);
    return siblingOnDisk(splitExtension(trial), built.extension);
}

} // namespace

QString trialFileOnDisk(const AppState& state, const QString& built)
{
    if (built.isEmpty())
        return built;
    const QString found = findTrialFile(state, inDirectory(state.DataDir, built));
    if (QDir::isAbsolutePath(built))
        return found;
    // Relative as built when it lies under DataDir as written, else whole.
    const QString prefix = inDirectory(state.DataDir, QString());
    return found.startsWith(prefix) ? found.mid(prefix.size()) : found;
}

} // namespace kadrix
