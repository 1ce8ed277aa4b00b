#pragma once

#include "platform/MountTable.h"

#include <QHash>
#include <QString>

#include <functional>

namespace kadrix {

// What a file system answered when asked for its size.
struct VolumeAnswer {
    // The child asking it ended without an answer.
    static constexpr int kNoAnswer = -1;

    bool ready = false;
    quint64 bytesTotal = 0;
    int error = 0; // the errno of a question that failed, or kNoAnswer
};

// How an answer counts for the user: a share that lost its connection
// answers no better than a silent one.
enum class VolumeProblem { None, NotAnswering, PermissionDenied, Unavailable };
VolumeProblem problemOf(const VolumeAnswer& answer);

// The file system's own answer (statfs); it may never come. A network or
// FUSE file system is asked by a child process of its own (see the source).
VolumeAnswer askFileSystem(const MountedVolume& volume);
// The answer `ask` gives in a child process of its own.
VolumeAnswer answerInChild(const std::function<VolumeAnswer()>& ask);

// The volume labels by device, as udev names them in /dev/disk/by-label.
QHash<QString, QString> volumeLabels();

// The device a volume comes from, as the labels name it; empty for a share.
QString deviceOf(const MountedVolume& volume);

} // namespace kadrix
