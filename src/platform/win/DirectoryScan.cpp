#include "platform/DirectoryScan.h"

#include "platform/FileErrors.h"
#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"
#include "platform/win/DirectoryWatches.h"
#include "platform/win/FoundEntries.h"

#include <QDir>
#include <QSet>

#include <windows.h>

namespace kadrix {

namespace {

EntryKind kindOfFound(const std::wstring& directory, const WIN32_FIND_DATAW& found)
{
    const DWORD attributes =
        isLinkEntry(found) ? attributesFollowingLinks(joinedWindowsPath(directory, found.cFileName))
                           : found.dwFileAttributes;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DEVICE))
        return EntryKind::Other;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Directory : EntryKind::File;
}

} // namespace

QString scanDirectory(const QString& path, const EntryVisitor& visit)
{
    const std::wstring directory = windowsPath(path);
    const DWORD error = forEachEntry(path, [&](const WIN32_FIND_DATAW& found) {
        if (isHiddenEntry(found))
            return;
        const EntryKind kind = kindOfFound(directory, found);
        if (kind == EntryKind::Other)
            return;
        const QByteArray name = encodeNativeName(QString::fromWCharArray(found.cFileName));
        visit(std::string_view(name.constData(), size_t(name.size())),
              kind == EntryKind::Directory);
    });
    return error == 0 ? QString() : unreadableDirectoryProblem(int(error));
}

// The names GetVolumeInformationW gives Windows's own file systems, and
// those of the other systems'.
bool isLocalFileSystem(QByteArrayView type)
{
    static const QSet<QByteArrayView> local{
        "NTFS",    "FAT",     "FAT32", "exFAT", "ReFS",  "CDFS",    "UDF",     "ext2", "ext3",
        "ext4",    "xfs",     "btrfs", "vfat",  "exfat", "ntfs3",   "f2fs",    "jfs",  "nilfs2",
        "hfsplus", "iso9660", "udf",   "tmpfs", "ramfs", "overlay", "squashfs"};
    return local.contains(type);
}

// Only the drive's type is asked for, from its letter: a share, named by
// its server or by a letter, may wait on it.
bool isOnLocalFileSystem(const QByteArray& path)
{
    const QString absolute = QDir::toNativeSeparators(absolutePath(decodeNativeName(path)));
    if (absolute.size() < 3 || absolute.at(1) != QLatin1Char(':'))
        return false;
    switch (GetDriveTypeW(absolute.left(3).toStdWString().c_str())) {
    case DRIVE_FIXED:
    case DRIVE_REMOVABLE:
    case DRIVE_CDROM:
    case DRIVE_RAMDISK:
        return true;
    default:
        return false;
    }
}

QString unreadableDirectoryProblem(int error)
{
    switch (static_cast<DWORD>(error)) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return describeFileError(kPathNotFound);
    case ERROR_NOT_READY:
        return describeFileError(kDeviceUnavailable);
    default:
        return describeFileError(kPermissionDenied);
    }
}

// There are no child processes here: every caller reads on a thread of its
// own, which a share that has stopped answering holds, and nothing else.
QString scanWatched(const QString& path, const EntryVisitor& visit, ChildScan& scan)
{
    scan.watch = scan.watchFd < 0 ? -1 : addDirectoryWatch(scan.watchFd, path, scan.watchMask);
    return scanDirectory(path, visit);
}

QString scanInChild(const QString& path, const EntryVisitor& visit, ChildScan& scan)
{
    return scanWatched(path, visit, scan);
}

} // namespace kadrix
