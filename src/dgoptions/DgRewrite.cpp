#include "dgoptions/DgRewrite.h"

#include "dgoptions/DgFileNames.h"
#include "dgoptions/HeaderRewriter.h"
#include "dgoptions/SaveErrors.h"
#include "platform/NativeNames.h"
#include "platform/PosixFiles.h"

#include <cerrno>

namespace kadrix {

namespace {

using Result = RewriteOutcome::Result;

// Small enough to stay in the processor's cache between the read and the write.
inline constexpr size_t kChunkSize = 256 * 1024;
// How often the lock is taken again when a finished save has just put a
// new file under the trial's name.
inline constexpr int kLockAttempts = 8;

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
        : path(encodeNativeName(path))
        , name(shownName(fileNameOf(path)))
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
        , directory_(encodeNativeName(directoryOf(paths.trial)))
        , directoryName_(shownName(directoryOf(paths.trial)))
        , choices_(choices)
    {}

    RewriteOutcome run()
    {
        bool missing = false;
        if (FileError error = lockTrial(missing))
            return outcome(Result::Failed, std::move(error));
        if (missing)
            return outcome(Result::TrialMissing);
        if (FileError error = removeLeftOverTemporary())
            return outcome(Result::Failed, std::move(error));
        if (FileError error = writeNewCopy())
            return outcome(Result::Failed, std::move(error));
        if (FileError error = makeBackup())
            return keepNewCopy(std::move(error));
        if (FileError error = nameNewCopy())
            return outcome(Result::Failed, std::move(error));
        if (FileError error = checkTemporary())
            return outcome(Result::Failed, std::move(error));
        return replaceTrial();
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
            if (lock == LockResult::Failed) // NoLocks: the file system has none to take
                return trialNotLocked(trial_.name);
            read_ = identityOf(source_.get());
            if (namesFile(trial_.path, read_) == 0)
                return {};
        }
        return trialBeingSaved(trial_.name);
    }

    // Nothing but a regular file is opened, so that a pipe or a device
    // under the trial's name can neither block nor be touched, and never
    // through a link, which another file could be put behind. It is opened
    // for writing too where it may be, only so that its lock is one that
    // network file systems pass to their server; it is never written.
    FileError openTrial(bool& missing)
    {
        FileStatus status;
        const int error = openRegular(trial_.path, OpenAccess::ReadWriteWherePossible,
                                      OpenLinks::Refuse, source_, status);
        missing = error == ENOENT || error == ENOTDIR;
        if (error == ELOOP && statusOfPath(trial_.path, status) == 0)
            return trialIsLink(trial_.name); // not a loop of links: a link refused
        if (error != 0 && !missing)
            return trial_.error(error);
        permissions_ = status.permissions;
        return {};
    }

    // A regular file under the temporary name, left by an earlier save
    // that failed (of this program or of the classic one), is deleted
    // before the new copy is written, as the classic save did; no other
    // save can be writing it while the trial is locked. Anything else there
    // (a directory, a pipe, a device, a link) is not ours to remove or to
    // write through, and stops the save.
    FileError removeLeftOverTemporary()
    {
        FileStatus status;
        if (const int error = statusOfName(temporary_.path, status))
            return error == ENOENT ? FileError{} : temporary_.error(error);
        if (status.kind != FileKind::File)
            return temporary_.error(EEXIST);
        if (const int error = removeFile(temporary_.path); error != 0 && error != ENOENT)
            return temporary_.error(error);
        return {};
    }

    // The complete new copy on the disk, as a file without a name where
    // the file system has such files, so that nothing of it is left behind
    // when the program dies; else under the temporary name, removed again
    // after a failure.
    FileError writeNewCopy()
    {
        UniqueFd target = createAnonymousFile(directory_, permissions_);
        named_ = !target && anonymousFilesUnsupported(errno);
        if (named_)
            target = createNewFile(temporary_.path, permissions_);
        if (!target)
            return temporary_.error(errno);
        written_ = identityOf(target.get());
        FileError error = writeRewritten(target.get());
        if (const int flushError = error ? 0 : flushFile(target.get()))
            error = temporary_.error(flushError);
        if (!error)
            error = holdNewCopy(target.get());
        if (const int closeError = target.close(); !error && closeError != 0)
            error = temporary_.error(closeError);
        if (error && named_ && namesFile(temporary_.path, written_) == 0)
            removeFile(temporary_.path);
        return error;
    }

    FileError writeRewritten(int target)
    {
        HeaderRewriter rewriter(choices_);
        QByteArray input(kChunkSize, Qt::Uninitialized);
        HeaderRewriter::Pieces pieces;
        PieceWriter writer(target);
        for (qint64 count = 1; count != 0;) {
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

    // A descriptor of the new copy that keeps it alive once the written one
    // is closed, and holds its lock: when it has the trial's name, another
    // save finds it being saved until this one has ended.
    FileError holdNewCopy(int written)
    {
        newCopy_ = reopenForReading(written);
        if (!newCopy_ && named_)
            newCopy_ = openNameForReading(temporary_.path);
        if (!newCopy_)
            return temporary_.error(errno);
        if (identityOf(newCopy_.get()) != written_)
            return temporary_.error(EEXIST);
        lockExclusively(newCopy_.get());
        return {};
    }

    // The older backup goes only now that the new copy is safe on the
    // disk; the file that was read gets the backup as its second name, from
    // its descriptor, whatever has the trial's name by now; or a copy of it
    // where the file system has no links, or where it has no name left.
    FileError makeBackup()
    {
        if (const int error = removeFile(backup_.path); error != 0 && error != ENOENT)
            return backup_.error(error);
        int error = linkOpenFile(source_.get(), backup_.path);
        if (error == ENOSYS)
            error = linkTrialByName();
        if (error == 0)
            return {};
        if (!linksUnsupported(error) && error != ENOENT)
            return backup_.error(error);
        if (const int copyError = copyToNewFile(source_.get(), permissions_, backup_.path))
            return backup_.error(copyError);
        return {};
    }

    // Where no file can be linked from its descriptor: the trial's name is
    // linked, and the backup kept only when that turns out to be the file
    // read (ENOENT when it is not: the backup is to be copied instead).
    int linkTrialByName()
    {
        const int error = linkFile(trial_.path, backup_.path);
        if (error != 0 || namesFile(backup_.path, read_) == 0)
            return error;
        const int removeError = removeFile(backup_.path);
        return removeError != 0 ? removeError : ENOENT;
    }

    // The new copy under the temporary name: linked from its descriptor, or
    // a flushed copy where the file system has no links.
    FileError nameNewCopy()
    {
        if (named_)
            return {};
        int error = linkOpenFile(newCopy_.get(), temporary_.path);
        if (linksUnsupported(error))
            error = copyToNewFile(newCopy_.get(), permissions_, temporary_.path, &written_);
        return error != 0 ? temporary_.error(error) : FileError{};
    }

    // After a failed backup the new copy is kept under the temporary name
    // when it can be.
    RewriteOutcome keepNewCopy(FileError error)
    {
        if (nameNewCopy() || checkTemporary())
            return outcome(Result::Failed, std::move(error));
        return outcome(Result::ChangesKept, std::move(error));
    }

    // Whether the temporary name still names the copy this save wrote.
    FileError checkTemporary() const
    {
        if (const int error = namesFile(temporary_.path, written_))
            return temporary_.error(error);
        return {};
    }

    // The new copy takes the trial's name by one exchange, which puts what
    // had the name under the temporary name; unless that is the file read,
    // another program has put a file there meanwhile, and the exchange is
    // undone.
    RewriteOutcome replaceTrial()
    {
        if (namesFile(trial_.path, read_) != 0)
            return replaced(Result::Replaced);
        const int error = exchangeFiles(temporary_.path, trial_.path);
        if (exchangeUnsupported(error))
            return renameOverTrial();
        if (error != 0)
            return outcome(Result::ChangesKept, trial_.error(error));
        if (namesFile(temporary_.path, read_) != 0)
            return undoExchange();
        removeFile(temporary_.path); // the file read lives on as the backup
        return flushed();
    }

    RewriteOutcome renameOverTrial()
    {
        int error = renameFile(temporary_.path, trial_.path);
        if (error == EACCES) {
            // Some file systems replace no file that is open: the trial is
            // let go, and replaced once it is seen still to be the file read.
            source_ = UniqueFd();
            if (namesFile(trial_.path, read_) != 0)
                return replaced(Result::Replaced);
            error = renameFile(temporary_.path, trial_.path);
        }
        if (error != 0)
            return outcome(Result::ChangesKept, trial_.error(error));
        return flushed();
    }

    RewriteOutcome undoExchange()
    {
        if (const int error = exchangeFiles(temporary_.path, trial_.path))
            return replaced(Result::ReplacedNotRestored, trial_.error(error));
        return replaced(Result::Replaced);
    }

    // Already a failure to report: a failed flush adds nothing to it.
    RewriteOutcome replaced(Result result, FileError error = {})
    {
        flushDirectory(directory_);
        return outcome(result, std::move(error));
    }

    RewriteOutcome flushed()
    {
        if (const int error = flushDirectory(directory_))
            return outcome(Result::Unflushed, saveErrorFromErrno(error, directoryName_));
        return outcome(Result::Saved);
    }

    NamedFile trial_;
    NamedFile temporary_;
    NamedFile backup_;
    QByteArray directory_;
    QString directoryName_;
    HeaderChoices choices_;
    UniqueFd source_;
    quint32 permissions_ = 0;
    FileIdentity read_;
    UniqueFd newCopy_; // read-only and locked; the file itself while it has no name
    bool named_ = false;
    FileIdentity written_;
};

} // namespace

RewriteOutcome rewriteDgFile(const DgFilePaths& paths, HeaderChoices choices)
{
    return Rewrite(paths, choices).run();
}

} // namespace kadrix
