#pragma once

#include "platform/MountTable.h"
#include "platform/VolumeQuestions.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kadrix {

// One entry of the drive list: the drive's root, the text shown for it,
// whether its file system answered when it was last asked, and why it
// cannot be used when it answered with a failure.
struct Drive {
    QString root;
    QString label;
    bool answering = true;
    QString problem = QString();
};

using VolumeProbe = std::function<VolumeAnswer(const MountedVolume& volume)>;

// Asks file systems for their size, each on a thread of its own, and waits
// only so long for the answers. A network share whose server has stopped
// answering holds its thread in the kernel for as long as that lasts; it is
// asked again only once that thread is back, so the threads never pile up.
class VolumeProbes {
public:
    VolumeProbes(VolumeProbe probe, std::chrono::milliseconds patience);

    // The answers for `volumes`, in their order; none for a file system
    // that did not answer within the patience.
    std::vector<std::optional<VolumeAnswer>> ask(const QList<MountedVolume>& volumes);
    // Ends every wait at once, now and later: the program is closing.
    void stopWaiting();

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    VolumeProbe probe_;
    std::chrono::milliseconds patience_;
};

// The drives of `volumes`, sorted by root: each that answered and holds
// something (the root always), its label beside it; each that did not
// answer or lost its connection, marked as not answering, and each that
// answered with another failure, marked with it. Blocks for at most the probes' patience.
QList<Drive> surveyDrives(const QList<MountedVolume>& volumes, VolumeProbes& probes,
                          const QHash<QString, QString>& labels);

} // namespace kadrix
