#include "dgoptions/DgRewrite.h"

#include "dgoptions/HeaderRewriter.h"
#include "dgoptions/SaveErrors.h"
#include "platform/PosixFiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace kadrix {

namespace {

using Result = RewriteOutcome::Result;

// Small enough to stay in the processor's cache between the read and the write.
inline constexpr size_t kChunkSize = 256 * 1024;
// How often the lock is taken again when a finished save has just put a
// new file under the trial's name.
inline constexpr int kLockAttempts = 8;

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

bool linksUnsupported(int errnoValue)
{
    return errnoValue == EPERM || errnoValue == EOPNOTSUPP || errnoValue == ENOTSUP ||
           errnoValue == EMLINK || errnoValue == ENOSYS || errnoValue == EXDEV;
}

RewriteOutcome outcome(Result result, FileError error = {})
{
    return {result, std::move(error)};
}

// One file of the rewrite: its name for the system and for messages.
struct NamedFile {
    explicit NamedFile(const QString& path)
        : path(native(path))
        , name(QFileInfo(path).fileName())
    {}
    FileError error(int errnoValue) const { return saveErrorFromErrno(errnoValue, name); }

    QByteArray path;
    QString name;
};

// The steps of one rewrite, over the files as the system names them.
class Rewrite {
public:
    Rewrite(const DgFilePaths& paths, HeaderChoices choices)
        : trial_(paths.trial)
        , temporary_(paths.temporary)
        , backup_(paths.backup)
        , directory_(native(QFileInfo(paths.trial).absolutePath()))
        , directoryName_(QFileInfo(paths.trial).absolutePath())
        , choices_(choices)
    {}

    RewriteOutcome run()
    {
        bool missing = false;
        if (FileError error = lockTrial(missing))
            return outcome(Result::Failed, std::move(error));
        if (missing)
            return outcome(Result::TrialMissing);
        if (FileError error = removeStaleTemporary())
            return outcome(Result::Failed, std::move(error));
        if (FileError error = writeTemporary())
            return outcome(Result::Failed, std::move(error));
        if (FileError error = checkTemporary())
            return outcome(Result::Failed, std::move(error));
        if (FileError error = makeBackup())
            return outcome(Result::ChangesKept, std::move(error));
        if (FileError error = checkTemporary())
            return outcome(Result::Failed, std::move(error));
        if (const int error = renameFile(temporary_.path, trial_.path))
            return outcome(Result::ChangesKept, trial_.error(error));
        if (const int error = flushDirectory(directory_))
            return outcome(Result::Unflushed, saveErrorFromErrno(error, directoryName_));
        return outcome(Result::Saved);
    }

private:
    // Opens the trial's file, which must be a regular file, and locks it.
    // The lock must be on the file that has the trial's name: a save that
    // has just ended may have put a new one there.
    FileError lockTrial(bool& missing)
    {
        for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
            if (FileError error = openTrial(missing); error || missing)
                return error;
            const LockResult lock = lockExclusively(source_.get());
            if (lock == LockResult::Busy)
                return trialBeingSaved(trial_.name);
            if (namesFile(trial_.path, identityOf(source_.get())) == 0)
                return {};
        }
        return trialBeingSaved(trial_.name);
    }

    // Nothing but a regular file is opened, so that a pipe or a device
    // under the trial's name can neither block nor be touched.
    FileError openTrial(bool& missing)
    {
        struct stat info {};
        if (::stat(trial_.path.constData(), &info) != 0) {
            missing = errno == ENOENT || errno == ENOTDIR;
            return missing ? FileError{} : trial_.error(errno);
        }
        if (!S_ISREG(info.st_mode))
            return trial_.error(EISDIR);
        source_ =
            UniqueFd(::open(trial_.path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!source_ || ::fstat(source_.get(), &info) != 0)
            return trial_.error(errno);
        if (!S_ISREG(info.st_mode))
            return trial_.error(EISDIR);
        mode_ = info.st_mode & 07777;
        return {};
    }

    // An earlier save's left-over temporary file is removed, now that no
    // other save can be writing it; anything else under that name is not
    // ours to remove or to write through.
    FileError removeStaleTemporary()
    {
        struct stat info {};
        if (::lstat(temporary_.path.constData(), &info) != 0)
            return errno == ENOENT ? FileError{} : temporary_.error(errno);
        if (!S_ISREG(info.st_mode))
            return temporary_.error(EEXIST);
        if (const int error = removeFile(temporary_.path))
            return temporary_.error(error);
        return {};
    }

    // The complete new copy under the temporary name, on the disk; a
    // failure removes what was written.
    FileError writeTemporary()
    {
        UniqueFd target = createNewFile(temporary_.path, mode_);
        if (!target)
            return temporary_.error(errno);
        written_ = identityOf(target.get());
        FileError error = writeRewritten(target.get());
        if (const int flushError = error ? 0 : flushFile(target.get()))
            error = temporary_.error(flushError);
        if (const int closeError = target.close(); !error && closeError != 0)
            error = temporary_.error(closeError);
        if (error && namesFile(temporary_.path, written_) == 0)
            removeFile(temporary_.path);
        return error;
    }

    FileError writeRewritten(int target)
    {
        HeaderRewriter rewriter(choices_);
        QByteArray input(kChunkSize, Qt::Uninitialized);
        HeaderRewriter::Pieces pieces;
        PieceWriter writer(target);
        for (ssize_t count = 1; count != 0;) {
            count = readSome(source_.get(), input.data(), kChunkSize);
            if (count < 0)
                return trial_.error(errno);
            pieces.clear();
            if (count == 0)
                rewriter.finish(pieces);
            else
                rewriter.feed(QByteArrayView(input.constData(), count), pieces);
            if (rewriter.error() != HeaderError::None)
                return saveErrorFromHeader(rewriter.error(), trial_.name);
            for (const QByteArrayView piece : pieces) {
                if (const int error = writer.write(piece))
                    return temporary_.error(error);
            }
        }
        if (const int error = writer.flush())
            return temporary_.error(error);
        return {};
    }

    // Whether the temporary name still names the copy this save wrote.
    FileError checkTemporary() const
    {
        if (const int error = namesFile(temporary_.path, written_))
            return temporary_.error(error);
        return {};
    }

    // The older backup goes only now that the new copy is safe on the
    // disk; the previous file gets the backup as its second name, or a copy
    // where the file system has no links.
    FileError makeBackup()
    {
        if (const int error = removeFile(backup_.path); error != 0 && error != ENOENT)
            return backup_.error(error);
        const int error = linkFile(trial_.path, backup_.path);
        if (error == 0)
            return {};
        if (!linksUnsupported(error))
            return backup_.error(error);
        if (const int copyError = copyToNewFile(source_.get(), mode_, backup_.path))
            return backup_.error(copyError);
        return {};
    }

    NamedFile trial_;
    NamedFile temporary_;
    NamedFile backup_;
    QByteArray directory_;
    QString directoryName_;
    HeaderChoices choices_;
    UniqueFd source_;
    mode_t mode_ = 0;
    FileIdentity written_;
};

} // namespace

RewriteOutcome rewriteDgFile(const DgFilePaths& paths, HeaderChoices choices)
{
    return Rewrite(paths, choices).run();
}

} // namespace kadrix
