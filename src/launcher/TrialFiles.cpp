#include "launcher/TrialFiles.h"

#include "app/AppState.h"
#include "app/FileNames.h"
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

// An entry of the stem's directory named as the stem exactly, with the
// extension in any letter case.
QString entryWithStem(const SplitName& trial, const QString& extension)
{
    const QFileInfo stem(trial.stem);
    const QStringList entries = stem.dir().entryList({stem.fileName() + QStringLiteral(".*")},
                                                     QDir::Files | QDir::System | QDir::Hidden);
    for (const QString& entry : entries) {
        const SplitName split = splitExtension(entry);
        if (split.stem == stem.fileName() &&
            split.extension.compare(extension, Qt::CaseInsensitive) == 0)
            return stem.dir().filePath(entry);
    }
    return {};
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
    const QString sameStem = entryWithStem(trial, extension);
    return sameStem.isEmpty() ? resolvePathCase(spellings.constLast()) : sameStem;
}

// The trial's file as it is on the disk: TrialPath while it still names the
// trial, else TrialName with TrialExt, the name spelled as TrialName is.
QString trialOnDisk(const AppState& state, bool current, const QString& typed)
{
    if (current)
        return onDisk(typed);
    return siblingOnDisk(splitExtension(typed), state.TrialExt);
}

QString findTrialFile(const AppState& state, const QString& path)
{
    const bool current = !state.TrialPath.isEmpty() && StripExt(state.TrialPath) == state.TrialName;
    if (!current && state.TrialName.isEmpty())
        return onDisk(path);
    const QString typed =
        current ? inDirectory(state.TrialDir.isEmpty() ? state.DataDir : state.TrialDir,
                              state.TrialPath)
                : inDirectory(state.DataDir, state.TrialName + QLatin1Char('.') + state.TrialExt);
    const QString trial = trialOnDisk(state, current, typed);
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

void setTrialFile(AppState& state, const QString& built)
{
    setTrialPath(state, trialFileOnDisk(state, built));
}

} // namespace kadrix
