#include "platform/DirectoryScan.h"

#include "platform/ChildProcess.h"
#include "platform/FileErrors.h"
#include "platform/NativeNames.h"

#include <QFile>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

namespace kadrix {

EntryKind kindOfEntry(int directoryFd, const char* name, unsigned char type)
{
    if (type == DT_REG)
        return EntryKind::File;
    if (type == DT_DIR)
        return EntryKind::Directory;
    if (type != DT_LNK && type != DT_UNKNOWN)
        return EntryKind::Other;
    struct stat status {};
    if (::fstatat(directoryFd, name, &status, 0) != 0)
        return EntryKind::Other;
    if (S_ISREG(status.st_mode))
        return EntryKind::File;
    return S_ISDIR(status.st_mode) ? EntryKind::Directory : EntryKind::Other;
}

QString scanDirectory(const QString& path, const EntryVisitor& visit)
{
    DIR* stream = ::opendir(encodeNativeName(path).constData());
    if (!stream)
        return unreadableDirectoryProblem(errno);
    const int fd = ::dirfd(stream);
    while (const dirent* entry = ::readdir(stream)) {
        if (entry->d_name[0] == '.') // hidden, and the directory and its parent
            continue;
        const EntryKind kind = kindOfEntry(fd, entry->d_name, entry->d_type);
        if (kind != EntryKind::Other)
            visit(entry->d_name, kind == EntryKind::Directory);
    }
    ::closedir(stream);
    return {};
}

bool isLocalFileSystem(QByteArrayView type)
{
    static const QSet<QByteArrayView> local{
        "ext2", "ext3",   "ext4",    "xfs",     "btrfs", "vfat",  "exfat", "ntfs3",   "f2fs",
        "jfs",  "nilfs2", "hfsplus", "iso9660", "udf",   "tmpfs", "ramfs", "overlay", "squashfs"};
    return local.contains(type);
}

QString unreadableDirectoryProblem(int error)
{
    const bool missing = error == ENOENT || error == ENOTDIR;
    return describeFileError(missing ? kPathNotFound : kPermissionDenied);
}

namespace {

// The child's answer: the watch it added (an int), then one record per
// entry (a kind byte, 'f' or 'd', a length byte and the name), then 'e' and
// the errno of the open (an int), 0 when the directory was read.
class AnswerWriter {
public:
    AnswerWriter(int fd, std::vector<char>& buffer)
        : fd_(fd)
        , buffer_(buffer)
    {}

    void put(const void* data, size_t size)
    {
        if (used_ + size > buffer_.size())
            flush();
        std::memcpy(buffer_.data() + used_, data, size);
        used_ += size;
    }
    void flush()
    {
        if (!writeAll(fd_, buffer_.data(), used_))
            ::_exit(1); // no one is reading any more
        used_ = 0;
    }

private:
    int fd_;
    std::vector<char>& buffer_;
    size_t used_ = 0;
};

// Runs in the child: system calls into buffers made before the fork.
void answerScan(int answer, const QByteArray& path, const ChildScan& scan,
                std::vector<char>& entries, std::vector<char>& output)
{
    AnswerWriter writer(answer, output);
    const int watch =
        scan.watchFd < 0 ? -1 : ::inotify_add_watch(scan.watchFd, path.constData(), scan.watchMask);
    writer.put(&watch, sizeof watch);
    writer.flush(); // the watch is known before any name is read
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int error = fd < 0 ? errno : 0;
    while (fd >= 0) {
        const ssize_t count = ::getdents64(fd, entries.data(), entries.size());
        for (ssize_t at = 0; at < count;) {
            const auto* entry = reinterpret_cast<const dirent64*>(entries.data() + at);
            at += entry->d_reclen;
            if (entry->d_name[0] == '.') // hidden, and the directory and its parent
                continue;
            const EntryKind kind = kindOfEntry(fd, entry->d_name, entry->d_type);
            if (kind == EntryKind::Other)
                continue;
            const char record[2] = {kind == EntryKind::Directory ? 'd' : 'f',
                                    static_cast<char>(std::strlen(entry->d_name))};
            writer.put(record, sizeof record);
            writer.put(entry->d_name, static_cast<unsigned char>(record[1]));
        }
        if (count <= 0)
            break;
        writer.flush(); // each batch as soon as it is read
    }
    writer.put("e", 1);
    writer.put(&error, sizeof error);
    writer.flush();
}

// Takes the child's answer apart as it arrives.
class AnswerReader {
public:
    explicit AnswerReader(ChildQuestion& child)
        : child_(child)
    {}

    bool take(void* to, size_t size)
    {
        while (end_ - start_ < size) {
            std::memmove(buffer_.data(), buffer_.data() + start_, end_ - start_);
            end_ -= start_;
            start_ = 0;
            const size_t count = child_.readSome(buffer_.data() + end_, buffer_.size() - end_);
            if (count == 0)
                return false;
            end_ += count;
        }
        std::memcpy(to, buffer_.data() + start_, size);
        start_ += size;
        return true;
    }

private:
    ChildQuestion& child_;
    std::vector<char> buffer_ = std::vector<char>(1 << 16);
    size_t start_ = 0;
    size_t end_ = 0;
};

// The type of the mounted file system that `device` (major:minor, as
// /proc/self/mountinfo writes it) belongs to; empty when none is listed.
QByteArray typeOfDevice(const QByteArray& device)
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf("-");
        if (fields.size() > 2 && fields.at(2) == device && separator > 0 &&
            separator + 1 < fields.size())
            return fields.at(separator + 1);
    }
    return {};
}

} // namespace

// Looking the directory up without opening it asks its file system no more
// than entering it did.
bool isOnLocalFileSystem(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    struct stat status {};
    const bool known = fd >= 0 && ::fstat(fd, &status) == 0;
    if (fd >= 0)
        ::close(fd);
    return known && isLocalFileSystem(typeOfDevice(QByteArray::number(major(status.st_dev)) + ':' +
                                                   QByteArray::number(minor(status.st_dev))));
}

QString scanWatched(const QString& path, const EntryVisitor& visit, ChildScan& scan)
{
    const QByteArray native = encodeNativeName(path);
    if (!isOnLocalFileSystem(native))
        return scanInChild(path, visit, scan);
    scan.watch = scan.watchFd < 0
                     ? -1
                     : ::inotify_add_watch(scan.watchFd, native.constData(), scan.watchMask);
    return scanDirectory(path, visit);
}

QString scanInChild(const QString& path, const EntryVisitor& visit, ChildScan& scan)
{
    const QByteArray native = encodeNativeName(path);
    std::vector<char> entries(1 << 15);
    std::vector<char> output(1 << 16);
    ChildQuestion child([&](int answer) { answerScan(answer, native, scan, entries, output); },
                        scan.watchFd);
    AnswerReader reader(child);
    scan.watch = -1;
    if (!child.asked() || !reader.take(&scan.watch, sizeof scan.watch))
        return describeFileError(kDeviceUnavailable);
    char kind = 0;
    unsigned char length = 0;
    char name[256];
    while (reader.take(&kind, 1)) {
        if (kind == 'e') {
            int error = 0;
            if (!reader.take(&error, sizeof error))
                break;
            return error == 0 ? QString() : unreadableDirectoryProblem(error);
        }
        if (!reader.take(&length, 1) || !reader.take(name, length))
            break;
        visit(std::string_view(name, length), kind == 'd');
    }
    return describeFileError(kDeviceUnavailable); // the child ended before its answer
}

} // namespace kadrix
