#include "platform/OpenFiles.h"

#include "platform/win/FileHandles.h"

#include <cerrno>

namespace kadrix {

using namespace winfile;

namespace {

inline constexpr qint64 kUnixEpoch = 116444736000000000; // 1970, in 100 ns since 1601
inline constexpr qint64 kLargestRead = 1 << 30;

// Whether a file opened by its name itself is a symbolic link or a
// junction; other reparse points (compressed, deduplicated or cloud
// files) are files of their own.
bool isLinkItself(HANDLE handle)
{
    FILE_ATTRIBUTE_TAG_INFO tag{};
    return GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) &&
           (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           IsReparseTagNameSurrogate(tag.ReparseTag);
}

FileKind kindOf(HANDLE handle, DWORD attributes, bool nameItself)
{
    if (nameItself && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && isLinkItself(handle))
        return FileKind::Link;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? FileKind::Directory : FileKind::File;
}

// The permission bits the read-only attribute stands for.
quint32 permissionsOf(DWORD attributes)
{
    const quint32 readable = attributes & FILE_ATTRIBUTE_READONLY ? 0444 : 0666;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? readable | 0111 : readable;
}

qint64 joined(DWORD high, DWORD low)
{
    return qint64(quint64(high) << 32 | low);
}

int statusOfHandle(HANDLE handle, FileStatus& status, bool nameItself)
{
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        status = FileStatus{}; // a pipe or a device
        return 0;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info))
        return lastError();
    status.identity = {info.dwVolumeSerialNumber,
                       quint64(joined(info.nFileIndexHigh, info.nFileIndexLow))};
    status.kind = kindOf(handle, info.dwFileAttributes, nameItself);
    status.size = joined(info.nFileSizeHigh, info.nFileSizeLow);
    const qint64 written =
        joined(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    status.modifiedNs = (written - kUnixEpoch) * 100;
    status.permissions = permissionsOf(info.dwFileAttributes);
    return 0;
}

// The status of what a name leads to, or with `nameItself` of the name.
// A device is never opened: it is a file of another kind.
int statusByName(const QByteArray& path, FileStatus& status, bool nameItself)
{
    if (namesDevice(wideName(path))) {
        status = FileStatus{};
        return 0;
    }
    const DWORD flags = nameItself ? FILE_FLAG_OPEN_REPARSE_POINT : 0;
    const HANDLE handle =
        openHandle(path, FILE_READ_ATTRIBUTES, FILE_FLAG_BACKUP_SEMANTICS | flags);
    if (handle == INVALID_HANDLE_VALUE)
        return errno;
    const int error = statusOfHandle(handle, status, nameItself);
    CloseHandle(handle);
    return error;
}

FileIdentity identityOfHandle(HANDLE handle)
{
    FileStatus status;
    return statusOfHandle(handle, status, false) == 0 ? status.identity : FileIdentity{};
}

// Opens the file under `path` for its contents. Windows can open no link
// itself for that without bypassing what stands behind a reparse point, so
// a link is refused by looking at the name first and checking afterwards
// that the open file is the one that name had.
HANDLE openContents(const QByteArray& path, DWORD access, OpenLinks links, DWORD flags = 0)
{
    if (links == OpenLinks::Follow)
        return openHandle(path, access, flags);
    FileStatus named;
    if (const int error = statusByName(path, named, true)) {
        errno = error;
        return INVALID_HANDLE_VALUE;
    }
    if (named.kind == FileKind::Link) {
        errno = ELOOP;
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE handle = openHandle(path, access, flags);
    if (handle != INVALID_HANDLE_VALUE && identityOfHandle(handle) != named.identity) {
        CloseHandle(handle);
        errno = EAGAIN; // the name changed hands between the look and the open
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

// 0 at the end of a file or of a pipe whose writer has gone.
qint64 readResult(BOOL done, DWORD count)
{
    if (done)
        return count;
    const DWORD error = GetLastError();
    if (error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE)
        return 0;
    errno = errnoOf(error);
    return -1;
}

} // namespace

int statusOf(int fd, FileStatus& status)
{
    const HANDLE handle = handleOf(fd);
    return handle == INVALID_HANDLE_VALUE ? EBADF : statusOfHandle(handle, status, false);
}

int statusOfPath(const QByteArray& path, FileStatus& status)
{
    return statusByName(path, status, false);
}

int statusOfName(const QByteArray& path, FileStatus& status)
{
    return statusByName(path, status, true);
}

// Nothing waits here: statusOfPath opens no device, and only a regular file
// is opened for its contents.
int openRegular(const QByteArray& path, OpenAccess access, OpenLinks links, UniqueFd& file,
                FileStatus& status)
{
    if (const int error = statusOfPath(path, status))
        return error;
    if (status.kind != FileKind::File)
        return EISDIR;
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (access == OpenAccess::ReadWriteWherePossible)
        handle = openContents(path, GENERIC_READ | GENERIC_WRITE, links);
    if (handle == INVALID_HANDLE_VALUE)
        handle = openContents(path, GENERIC_READ, links);
    if (handle == INVALID_HANDLE_VALUE)
        return errno;
    file = descriptorOf(handle);
    if (!file)
        return errno;
    if (const int error = statusOf(file.get(), status)) {
        file = UniqueFd();
        return error;
    }
    if (status.kind != FileKind::File) {
        file = UniqueFd();
        return EISDIR;
    }
    return 0;
}

bool outOfFileHandles(int errnoValue)
{
    return errnoValue == EMFILE || errnoValue == ENFILE;
}

UniqueFd openNameForReading(const QByteArray& path)
{
    const HANDLE handle =
        openContents(path, GENERIC_READ, OpenLinks::Refuse, FILE_FLAG_BACKUP_SEMANTICS);
    return handle == INVALID_HANDLE_VALUE ? UniqueFd() : descriptorOf(handle);
}

UniqueFd duplicateFile(int fd)
{
    const HANDLE process = GetCurrentProcess();
    HANDLE copy = INVALID_HANDLE_VALUE;
    if (!DuplicateHandle(process, handleOf(fd), process, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        errno = lastError();
        return UniqueFd();
    }
    return descriptorOf(copy);
}

qint64 readSome(int fd, char* buffer, qint64 size)
{
    DWORD count = 0;
    const BOOL done =
        ReadFile(handleOf(fd), buffer, DWORD(qMin(size, kLargestRead)), &count, nullptr);
    return readResult(done, count);
}

// Reads from several threads at once are safe, each at its own offset; but
// on Windows a read at an offset leaves the file's position after what it
// read, so that it must not be mixed with readSome on one file.
qint64 readAt(int fd, char* buffer, qint64 size, qint64 offset)
{
    OVERLAPPED at{};
    at.Offset = DWORD(quint64(offset));
    at.OffsetHigh = DWORD(quint64(offset) >> 32);
    DWORD count = 0;
    const BOOL done = ReadFile(handleOf(fd), buffer, DWORD(qMin(size, kLargestRead)), &count, &at);
    return readResult(done, count);
}

} // namespace kadrix
