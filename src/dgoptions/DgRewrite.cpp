#include "dgoptions/DgRewrite.h"

#include "dgoptions/HeaderRewriter.h"
#include "dgoptions/SaveErrors.h"
#include "platform/PosixFiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace kadrix {

namespace {

using Result = RewriteOutcome::Result;

// Small enough to stay in the processor's cache between the read and the write.
inline constexpr size_t kChunkSize = 256 * 1024;

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// An earlier run's left-over temporary file is removed; anything else
// under that name is not ours to remove or to write through.
FileError removeStaleTemporary(const QByteArray& temporary)
{
    struct stat info {};
    if (::lstat(temporary.constData(), &info) != 0)
        return errno == ENOENT ? FileError{} : saveErrorFromErrno(errno);
    if (!S_ISREG(info.st_mode))
        return saveErrorFromErrno(EEXIST);
    if (::unlink(temporary.constData()) != 0)
        return saveErrorFromErrno(errno);
    return {};
}

FileError writeRewritten(int source, int target, HeaderChoices choices)
{
    HeaderRewriter rewriter(choices);
    QByteArray input(kChunkSize, Qt::Uninitialized);
    HeaderRewriter::Pieces pieces;
    PieceWriter writer(target);
    for (;;) {
        const ssize_t count = readSome(source, input.data(), kChunkSize);
        if (count < 0)
            return saveErrorFromErrno(errno);
        pieces.clear();
        if (count == 0)
            rewriter.finish(pieces);
        else
            rewriter.feed(QByteArrayView(input.constData(), count), pieces);
        if (rewriter.error() != HeaderError::None)
            return saveErrorFromHeader(rewriter.error());
        for (const QByteArrayView piece : pieces) {
            if (const int error = writer.write(piece))
                return saveErrorFromErrno(error);
        }
        if (count == 0)
            break;
    }
    if (const int error = writer.flush())
        return saveErrorFromErrno(error);
    return {};
}

bool linksUnsupported(int errnoValue)
{
    return errnoValue == EPERM || errnoValue == EOPNOTSUPP || errnoValue == ENOTSUP ||
           errnoValue == EMLINK || errnoValue == ENOSYS || errnoValue == EXDEV;
}

FileError removeOlderBackup(const QByteArray& backup)
{
    if (::unlink(backup.constData()) != 0 && errno != ENOENT)
        return saveErrorFromErrno(errno);
    return {};
}

RewriteOutcome outcome(Result result, FileError error = {})
{
    return {result, std::move(error)};
}

// The steps of one rewrite, over the files as the system names them.
class Rewrite {
public:
    Rewrite(const DgFilePaths& paths, HeaderChoices choices)
        : trial_(native(paths.trial))
        , temporary_(native(paths.temporary))
        , backup_(native(paths.backup))
        , directory_(native(QFileInfo(paths.trial).absolutePath()))
        , choices_(choices)
    {}

    RewriteOutcome run()
    {
        source_ = UniqueFd(::open(trial_.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (!source_) {
            if (errno == ENOENT || errno == ENOTDIR)
                return outcome(Result::TrialMissing);
            return outcome(Result::Failed, saveErrorFromErrno(errno));
        }
        if (FileError error = checkRegularFile())
            return outcome(Result::Failed, std::move(error));
        if (FileError error = removeStaleTemporary(temporary_))
            return outcome(Result::Failed, std::move(error));
        if (FileError error = writeTemporary())
            return outcome(Result::Failed, std::move(error));
        if (FileError error = makeBackup())
            return outcome(Result::ChangesKept, std::move(error));
        if (::rename(temporary_.constData(), trial_.constData()) != 0)
            return outcome(Result::ChangesKept, saveErrorFromErrno(errno));
        syncDirectory(directory_);
        return outcome(Result::Saved);
    }

private:
    FileError checkRegularFile()
    {
        struct stat info {};
        if (::fstat(source_.get(), &info) != 0)
            return saveErrorFromErrno(errno);
        if (!S_ISREG(info.st_mode))
            return saveErrorFromErrno(EISDIR);
        mode_ = info.st_mode & 07777;
        return {};
    }

    // The complete new copy under the temporary name, on the disk; a
    // failure removes what was written. The older backup is removed while
    // the copy is flushed: freeing a large file's blocks takes a good part
    // of the flush's time, and neither needs the other.
    FileError writeTemporary()
    {
        UniqueFd target = createNewFile(temporary_, mode_);
        if (!target)
            return saveErrorFromErrno(errno);
        FileError error = writeRewritten(source_.get(), target.get(), choices_);
        if (!error) {
            auto removal = std::async(std::launch::async, removeOlderBackup, backup_);
            if (::fsync(target.get()) != 0)
                error = saveErrorFromErrno(errno);
            olderBackupRemoval_ = removal.get();
        }
        if (const int closeError = target.close(); !error && closeError != 0)
            error = saveErrorFromErrno(closeError);
        if (error)
            ::unlink(temporary_.constData());
        return error;
    }

    // The previous file gets the backup as its second name, or a copy
    // where the file system has no links.
    FileError makeBackup()
    {
        if (olderBackupRemoval_)
            return olderBackupRemoval_;
        if (::link(trial_.constData(), backup_.constData()) == 0)
            return {};
        if (!linksUnsupported(errno))
            return saveErrorFromErrno(errno);
        return copyToNewFile(source_.get(), mode_, backup_);
    }

    QByteArray trial_;
    QByteArray temporary_;
    QByteArray backup_;
    QByteArray directory_;
    HeaderChoices choices_;
    UniqueFd source_;
    mode_t mode_ = 0;
    FileError olderBackupRemoval_;
};

} // namespace

RewriteOutcome rewriteDgFile(const DgFilePaths& paths, HeaderChoices choices)
{
    return Rewrite(paths, choices).run();
}

} // namespace kadrix
