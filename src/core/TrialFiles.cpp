#include "core/TrialFiles.h"

#include "core/AppState.h"
#include "core/FileNames.h"
#include "platform/FileErrors.h"
#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"
#include "platform/PathLookup.h"

#include <QDir>

namespace kadrix {

namespace {

QString inDirectory(const QString& directory, const QString& name)
{
    if (QDir::isAbsolutePath(name))
        return QDir::fromNativeSeparators(name);
    const QString base = directory.isEmpty() ? currentDirectory() : directory;
    return QDir::fromNativeSeparators(joinPath(base, name));
}

QString inLetterCaseOf(const QString& text, const QString& model)
{
    if (model == upperCased(model))
        return upperCased(text);
    if (model == lowerCased(model))
        return lowerCased(text);
    return text;
}

// Looks names up in the data directory as the browser last read it, so that
// a directory of many files is never read again for one name.
class TrialLookup {
public:
    explicit TrialLookup(const AppState& state)
        : state_(state)
    {}

    QString onDisk(const QString& path) const
    {
        return pathExists(path) ? path : resolvePathCase(path, &state_.DataDirListing);
    }

    // The sibling of `trial` with `extension`: spelt as the trial is, else
    // an entry named as the stem exactly with the extension in any letter
    // case, else regardless of case.
    QString sibling(const SplitName& trial, const QString& extension) const
    {
        const QStringList spellings{trial.stem + QLatin1Char('.') +
                                        inLetterCaseOf(extension, trial.extension),
                                    trial.stem + QLatin1Char('.') + extension};
        for (const QString& spelling : spellings) {
            if (pathExists(spelling))
                return spelling;
        }
        const QString sameStem = entryWithStem(trial, extension);
        return sameStem.isEmpty() ? onDisk(spellings.constLast()) : sameStem;
    }

    QString find(const QString& path) const
    {
        const bool current =
            !state_.TrialPath.isEmpty() && StripExt(state_.TrialPath) == state_.TrialName;
        if (!current && state_.TrialName.isEmpty())
            return onDisk(path);
        const QString typed =
            current ? inDirectory(state_.TrialDir.isEmpty() ? state_.DataDir : state_.TrialDir,
                                  state_.TrialPath)
                    : inDirectory(state_.DataDir,
                                  state_.TrialName + QLatin1Char('.') + state_.TrialExt);
        const QString trial =
            current ? onDisk(typed) : sibling(splitExtension(typed), state_.TrialExt);
        if (sameIgnoringAsciiCase(path, typed))
            return trial;
        const SplitName built = splitExtension(path);
        if (built.extension.isEmpty() ||
            !sameIgnoringAsciiCase(built.stem, splitExtension(typed).stem))
            return onDisk(path);
        return sibling(splitExtension(trial), built.extension);
    }

private:
    QString entryWithStem(const SplitName& trial, const QString& extension) const
    {
        const qsizetype slash = trial.stem.lastIndexOf(QLatin1Char('/'));
        const QString directory = slash <= 0 ? QStringLiteral("/") : trial.stem.left(slash);
        const QString stem = trial.stem.mid(slash + 1);
        const QStringList entries =
            entriesLike(directory, stem + QLatin1Char('.') + extension, &state_.DataDirListing);
        for (const QString& entry : entries) {
            if (entry.startsWith(stem) && entry.at(stem.size()) == QLatin1Char('.'))
                return directory + QLatin1Char('/') + entry;
        }
        return {};
    }

    const AppState& state_;
};

} // namespace

QString trialFileOnDisk(const AppState& state, const QString& built)
{
    if (built.isEmpty())
        return built;
    const QString found = TrialLookup(state).find(inDirectory(state.DataDir, built));
    if (QDir::isAbsolutePath(built))
        return found;
    // Relative as built when it lies under DataDir as written, else whole.
    const QString prefix = inDirectory(state.DataDir, QString());
    return found.startsWith(prefix) ? found.mid(prefix.size()) : found;
}

bool trialFileExists(const AppState& state, const QString& built)
{
    return !testOpenForReading(inDirectory(state.DataDir, trialFileOnDisk(state, built)));
}

void setTrialFile(AppState& state, const QString& built)
{
    setTrialPath(state, trialFileOnDisk(state, built));
}

} // namespace kadrix
