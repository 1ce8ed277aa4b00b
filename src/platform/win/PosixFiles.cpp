#include "platform/PosixFiles.h"

#include "platform/win/FileHandles.h"

#include <cerrno>
#include <cstddef>
#include <io.h>
#include <memory>

namespace kadrix {

using namespace winfile;

namespace {

inline constexpr size_t kLargestWrite = 1 << 30;
// The byte that saves lock, far beyond the data of any file: Windows keeps
// everyone from reading and writing the bytes another holds a lock on, and
// the file must stay readable while it is saved. A lock of the whole file,
// as other systems take it through a share, covers it.
inline constexpr quint64 kLockedByte = quint64(1) << 62;
// Lets a rename replace a read-only file, as a rename does elsewhere.
inline constexpr DWORD kRenameIgnoringReadOnly = 0x40;
// The requests of Windows 10 that these headers name only for later ones.
inline constexpr auto kDispositionInfoEx = FILE_INFO_BY_HANDLE_CLASS(21);
inline constexpr auto kRenameInfoEx = FILE_INFO_BY_HANDLE_CLASS(22);

FaultInjector faultInjector = nullptr;

int injectedFault(FileCall call)
{
    return faultInjector ? faultInjector(call) : 0;
}

// 0 or the errno of the call, after the injected fault.
template <typename Call>
int checked(FileCall call, Call&& systemCall)
{
    if (const int fault = injectedFault(call))
        return fault;
    return systemCall();
}

int succeeded(BOOL done)
{
    return done ? 0 : lastError();
}

// 0 when the name itself is no directory (a link to one may go), EISDIR
// when it is, else the errno of the question.
int noDirectory(HANDLE handle)
{
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag))
        return lastError();
    const DWORD attributes = tag.FileAttributes;
    const bool directory =
        (attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    return directory ? EISDIR : 0;
}

// Takes the name away at once, even from a read-only file that is still
// open, as an unlink does; where the file system cannot, when the last
// handle to the file closes. A directory is left alone.
int deleteName(const QByteArray& path)
{
    const HANDLE handle = openHandle(path, DELETE | FILE_READ_ATTRIBUTES,
                                     FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS);
    if (handle == INVALID_HANDLE_VALUE)
        return errno;
    int error = noDirectory(handle);
    if (error == 0) {
        FILE_DISPOSITION_INFO_EX now{FILE_DISPOSITION_FLAG_DELETE |
                                     FILE_DISPOSITION_FLAG_POSIX_SEMANTICS |
                                     FILE_DISPOSITION_FLAG_IGNORE_READONLY_ATTRIBUTE};
        FILE_DISPOSITION_INFO onClose{TRUE};
        if (!SetFileInformationByHandle(handle, kDispositionInfoEx, &now, sizeof now)) {
            const DWORD refused = GetLastError();
            error = unknownRequest(refused)
                        ? succeeded(SetFileInformationByHandle(handle, FileDispositionInfo,
                                                               &onClose, sizeof onClose))
                        : errnoOf(refused);
        }
    }
    CloseHandle(handle);
    return error;
}

// The name a rename request takes: the system's own form of `path`.
std::wstring systemName(const QByteArray& path)
{
    const std::wstring full = fullName(wideName(path));
    if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\"))
        return L"\\??\\" + full.substr(4);
    if (full.starts_with(L"\\\\"))
        return L"\\??\\UNC\\" + full.substr(2);
    return L"\\??\\" + full;
}

// Gives the file `handle` stands for the name `target`, replacing what has
// it even while that is open, as a rename does elsewhere; an error number
// of Windows.
DWORD renameReplacing(HANDLE handle, const QByteArray& target)
{
    const std::wstring name = systemName(target);
    const size_t size = sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t);
    const auto buffer = std::make_unique<std::max_align_t[]>(size / sizeof(std::max_align_t) + 1);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.get());
    rename->Flags = FILE_RENAME_FLAG_REPLACE_IF_EXISTS | FILE_RENAME_FLAG_POSIX_SEMANTICS |
                    kRenameIgnoringReadOnly;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = DWORD(name.size() * sizeof(wchar_t));
    name.copy(rename->FileName, name.size());
    rename->FileName[name.size()] = L'\0';
    return SetFileInformationByHandle(handle, kRenameInfoEx, rename, DWORD(size)) ? ERROR_SUCCESS
                                                                                  : GetLastError();
}

int renameName(const QByteArray& source, const QByteArray& target)
{
    const HANDLE handle = openHandle(source, DELETE | SYNCHRONIZE,
                                     FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS |
                                         FILE_FLAG_WRITE_THROUGH);
    if (handle == INVALID_HANDLE_VALUE)
        return errno;
    const DWORD error = renameReplacing(handle, target);
    CloseHandle(handle);
    if (!unknownRequest(error))
        return errnoOf(error);
    // A file system without such renames replaces no file that is open,
    // nor one that is read-only: its attribute is set aside for the rename.
    const std::wstring replaced = wideName(target);
    const DWORD attributes = GetFileAttributesW(replaced.c_str());
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        SetFileAttributesW(replaced.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    const int moved = succeeded(MoveFileExW(wideName(source).c_str(), replaced.c_str(),
                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    if (moved != 0 && readOnly)
        SetFileAttributesW(replaced.c_str(), attributes);
    return moved;
}

} // namespace

void setFaultInjector(FaultInjector injector)
{
    faultInjector = injector;
}

// Here rather than beside the rest of OpenFiles.h: a test may make it fail.
int UniqueFd::close()
{
    if (fd_ < 0)
        return 0;
    const int fault = injectedFault(FileCall::Close);
    const int result = ::_close(std::exchange(fd_, -1));
    if (fault != 0)
        return fault;
    return result == 0 ? 0 : errno;
}

// Nothing is created through a link: CREATE_NEW fails on any name taken.
UniqueFd createNewFile(const QByteArray& path, quint32 permissions)
{
    if (const int fault = injectedFault(FileCall::Create)) {
        errno = fault;
        return UniqueFd();
    }
    const DWORD attributes = permissions & 0222 ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
    const HANDLE handle =
        openHandle(path, GENERIC_WRITE, FILE_FLAG_OPEN_REPARSE_POINT, CREATE_NEW, attributes);
    return handle == INVALID_HANDLE_VALUE ? UniqueFd() : descriptorOf(handle);
}

// Windows cannot name a file that was made without a name: the caller
// writes under the temporary name instead.
UniqueFd createAnonymousFile(const QByteArray&, quint32)
{
    errno = checked(FileCall::Create, [] { return ENOSYS; });
    return UniqueFd();
}

bool anonymousFilesUnsupported(int errnoValue)
{
    return errnoValue == EISDIR || errnoValue == EOPNOTSUPP || errnoValue == ENOTSUP ||
           errnoValue == EINVAL || errnoValue == ENOSYS;
}

UniqueFd reopenForReading(int fd)
{
    const HANDLE handle = ReOpenFile(handleOf(fd), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = lastError();
        return UniqueFd();
    }
    return descriptorOf(handle);
}

int writeAll(int fd, const char* data, size_t size)
{
    if (const int fault = injectedFault(FileCall::Write))
        return fault;
    const HANDLE handle = handleOf(fd);
    for (size_t done = 0; done < size;) {
        DWORD written = 0;
        if (!WriteFile(handle, data + done, DWORD(qMin(size - done, kLargestWrite)), &written,
                       nullptr))
            return lastError();
        if (written == 0)
            return EIO;
        done += written;
    }
    return 0;
}

int flushFile(int fd)
{
    return checked(FileCall::Flush, [fd] { return succeeded(FlushFileBuffers(handleOf(fd))); });
}

namespace {

LockResult lockResultOf(int errnoValue)
{
    if (errnoValue == EAGAIN || errnoValue == EACCES || errnoValue == EWOULDBLOCK)
        return LockResult::Busy;
    const bool noLocks = errnoValue == ENOLCK || errnoValue == ENOSYS || errnoValue == EOPNOTSUPP ||
                         errnoValue == ENOTSUP;
    return noLocks ? LockResult::NoLocks : LockResult::Failed;
}

} // namespace

// The lock belongs to the open file and goes with its last handle; Windows
// passes it to the server of a share, and it needs no write access.
LockResult lockExclusively(int fd)
{
    const int error = checked(FileCall::Lock, [fd] {
        OVERLAPPED at{};
        at.Offset = DWORD(kLockedByte);
        at.OffsetHigh = DWORD(kLockedByte >> 32);
        return succeeded(LockFileEx(
            handleOf(fd), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at));
    });
    return error == 0 ? LockResult::Locked : lockResultOf(error);
}

int removeFile(const QByteArray& path)
{
    return checked(FileCall::Remove, [&] { return deleteName(path); });
}

int linkFile(const QByteArray& source, const QByteArray& target)
{
    return checked(FileCall::Link, [&] {
        if (CreateHardLinkW(wideName(target).c_str(), wideName(source).c_str(), nullptr))
            return 0;
        const DWORD error = GetLastError();
        // Refused for this file alone (no right to change its attributes):
        // the caller copies it instead, as where links are refused.
        return error == ERROR_ACCESS_DENIED ? EPERM : errnoOf(error);
    });
}

// Windows links no file from its handle: the caller links the name and
// checks that it still names the file.
int linkOpenFile(int, const QByteArray&)
{
    return checked(FileCall::Link, [] { return ENOSYS; });
}

int renameFile(const QByteArray& source, const QByteArray& target)
{
    return checked(FileCall::Rename, [&] { return renameName(source, target); });
}

// Windows cannot swap two names at once: the caller renames instead.
int exchangeFiles(const QByteArray&, const QByteArray&)
{
    return checked(FileCall::Exchange, [] { return ENOSYS; });
}

namespace {

bool cannotFlushDirectories(int error)
{
    return error == EINVAL || error == ENOTSUP || error == EOPNOTSUPP || error == EROFS;
}

} // namespace

// Windows has no flush of a directory's entries, nor needs one: NTFS
// journals every name change, and renameFile writes its change through.
int flushDirectory(const QByteArray&)
{
    const int error = injectedFault(FileCall::FlushDirectory);
    return cannotFlushDirectories(error) ? 0 : error;
}

} // namespace kadrix
