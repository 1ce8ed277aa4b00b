#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace kadrix {

// One file system as the kernel's mount table lists it.
struct MountedVolume {
    QString root;    // where it is mounted
    QString source;  // the device or share it comes from
    QByteArray type; // ext4, nfs, fuse.sshfs, ...
};

// The volumes of a /proc/self/mountinfo text that a user keeps files on:
// neither the kernel's own file systems under /dev, /proc, /sys, /var/run
// and /var/lock, nor the initial root. A mount point mounted over again is
// listed once, as the last mount made there. Reading the table asks no file
// system anything, so that a server that no longer answers cannot hold it.
QList<MountedVolume> parseMountInfo(QByteArrayView text);

// The table of the running system; only the root when it cannot be read.
QList<MountedVolume> readMountTable();

} // namespace kadrix
