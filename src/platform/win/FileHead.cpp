#include "platform/FileHead.h"

#include "platform/win/FoundEntries.h"

#include <windows.h>

namespace kadrix {

namespace {

// FILETIME counts 100 ns from 1601; the stamp counts from 1970.
constexpr qint64 kTicksPerSecond = 10'000'000;
constexpr qint64 kTicksBefore1970 = 116'444'736'000'000'000;

FileStamp stampOf(const BY_HANDLE_FILE_INFORMATION& information)
{
    const FILETIME& written = information.ftLastWriteTime;
    const qint64 ticks =
        (qint64(written.dwHighDateTime) << 32 | written.dwLowDateTime) - kTicksBefore1970;
    qint64 seconds = ticks / kTicksPerSecond;
    qint64 rest = ticks % kTicksPerSecond;
    if (rest < 0) {
        --seconds;
        rest += kTicksPerSecond;
    }
    const qint64 size = qint64(information.nFileSizeHigh) << 32 | information.nFileSizeLow;
    return {size, seconds, rest * 100};
}

// One read of at most `size` bytes: their count, or -1.
qint64 readChunk(HANDLE file, char* buffer, qint64 size)
{
    constexpr qint64 kMostAtOnce = 1 << 30;
    DWORD count = 0;
    const DWORD asked = DWORD(size < kMostAtOnce ? size : kMostAtOnce);
    return ReadFile(file, buffer, asked, &count, nullptr) ? qint64(count) : -1;
}

// Read only when the system tells a file on a disk: a console or a port
// under a device name is never read.
std::optional<FileHead> readOpened(HANDLE file, qsizetype limit, const FileStamp& known)
{
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    FileHead head;
    head.stamp = stampOf(information);
    head.unchanged = head.stamp == known;
    if (head.unchanged)
        return head;
    QByteArray buffer(limit, Qt::Uninitialized);
    qsizetype count = 0;
    while (count < limit && !head.whole) {
        const qint64 read = readChunk(file, buffer.data() + count, limit - count);
        if (read < 0)
            return std::nullopt;
        head.whole = read == 0;
        count += read;
    }
    if (!head.whole) {
        char probe = 0; // the file may end right at the limit
        head.whole = readChunk(file, &probe, 1) == 0;
    }
    buffer.truncate(count);
    head.bytes = buffer;
    return head;
}

} // namespace

// Read on the caller's thread, which is a worker of its own: a share that
// has stopped answering holds only it.
std::optional<FileHead> readFileHead(const QString& path, qsizetype limit, FileStamp known)
{
    if (path.isEmpty() || path.contains(QChar(u'\0')) || limit < 0)
        return std::nullopt;
    const HANDLE file = CreateFileW(windowsPath(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::optional<FileHead> head = readOpened(file, limit, known);
    CloseHandle(file);
    return head;
}

} // namespace kadrix
