#include "platform/MountTable.h"

#include <QDir>

#include <windows.h>
// needs the types of windows.h
#include <winnetwk.h>

namespace kadrix {

namespace {

QByteArray typeOf(const wchar_t* root)
{
    switch (GetDriveTypeW(root)) {
    case DRIVE_FIXED:
        return "fixed";
    case DRIVE_REMOTE:
        return "remote";
    case DRIVE_CDROM:
        return "cdrom";
    case DRIVE_REMOVABLE:
        return "removable";
    case DRIVE_RAMDISK:
        return "ramdisk";
    case DRIVE_NO_ROOT_DIR:
        return {};
    default:
        return "unknown";
    }
}

// The share a network drive is connected to, "\\server\share", as the
// system remembers it: asked of no server, and known while it is lost.
QString shareOf(const QString& drive)
{
    wchar_t share[MAX_PATH + 1];
    DWORD size = MAX_PATH + 1;
    const DWORD result = WNetGetConnectionW(drive.toStdWString().c_str(), share, &size);
    return result == NO_ERROR || result == ERROR_CONNECTION_UNAVAIL ? QString::fromWCharArray(share)
                                                                    : QString();
}

} // namespace

// Windows has no mount table of this kind: its drives are in readMountTable.
QList<MountedVolume> parseMountInfo(QByteArrayView)
{
    return {};
}

// The drive letters; asking for them and their kinds asks no file system.
QList<MountedVolume> readMountTable()
{
    wchar_t roots[4 * 26 + 1];
    const DWORD length = GetLogicalDriveStringsW(sizeof roots / sizeof *roots, roots);
    QList<MountedVolume> volumes;
    for (const wchar_t* root = roots; length != 0 && *root; root += wcslen(root) + 1) {
        const QByteArray type = typeOf(root);
        if (type.isEmpty())
            continue;
        const QString native = QString::fromWCharArray(root);
        const QString source = type == "remote" ? shareOf(native.left(2)) : native.left(2);
        volumes.append({QDir::fromNativeSeparators(native), source, type});
    }
    if (volumes.isEmpty())
        volumes.append({QDir::rootPath(), {}, "fixed"});
    return volumes;
}

} // namespace kadrix
