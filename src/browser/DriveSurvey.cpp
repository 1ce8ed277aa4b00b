#include "browser/DriveSurvey.h"

#include "platform/FileErrors.h"
#include "platform/NativeNames.h"

#include <QDir>
#include <QSet>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kadrix {

struct VolumeProbes::Shared {
    std::mutex mutex;
    std::condition_variable answered;
    QSet<QString> asking;
    QHash<QString, VolumeAnswer> answers;
    bool stopped = false;
};

VolumeProbes::VolumeProbes(VolumeProbe probe, std::chrono::milliseconds patience)
    : shared_(std::make_shared<Shared>())
    , probe_(std::move(probe))
    , patience_(patience)
{}

std::vector<std::optional<VolumeAnswer>> VolumeProbes::ask(const QList<MountedVolume>& volumes)
{
    std::unique_lock lock(shared_->mutex);
    for (const MountedVolume& volume : volumes) {
        if (shared_->asking.contains(volume.root))
            continue; // still waiting for an earlier answer
        shared_->asking.insert(volume.root);
        shared_->answers.remove(volume.root);
        std::thread([shared = shared_, probe = probe_, volume] {
            const VolumeAnswer answer = probe(volume);
            const std::lock_guard done(shared->mutex);
            shared->answers.insert(volume.root, answer);
            shared->asking.remove(volume.root);
            shared->answered.notify_all();
        }).detach();
    }
    const auto answered = [&](const MountedVolume& volume) {
        return !shared_->asking.contains(volume.root);
    };
    shared_->answered.wait_for(lock, patience_, [&] {
        return shared_->stopped || std::all_of(volumes.cbegin(), volumes.cend(), answered);
    });
    std::vector<std::optional<VolumeAnswer>> answers;
    for (const MountedVolume& volume : volumes) {
        const auto found = shared_->answers.constFind(volume.root);
        answers.push_back(!answered(volume) || found == shared_->answers.cend()
                              ? std::nullopt
                              : std::optional(*found));
    }
    return answers;
}

void VolumeProbes::stopWaiting()
{
    const std::lock_guard lock(shared_->mutex);
    shared_->stopped = true;
    shared_->answered.notify_all();
}

namespace {

// A drive's root as the user knows it: C:\ on Windows.
QString driveName(const QString& root)
{
    return shownName(QDir::toNativeSeparators(root));
}

Drive failedDrive(const QString& root, const VolumeAnswer& answer)
{
    const VolumeProblem kind = problemOf(answer);
    if (kind == VolumeProblem::NotAnswering)
        return {root, driveName(root) + QStringLiteral("  (not answering)"), false, {}};
    const QString problem = describeFileError(
        kind == VolumeProblem::PermissionDenied ? kPermissionDenied : kDeviceUnavailable);
    return {root, driveName(root) + QStringLiteral("  (") + problem + QLatin1Char(')'), false,
            problem};
}

QString driveText(const QString& root, const QString& label)
{
    const QString shown = driveName(root);
    return label.isEmpty() || label == root
               ? shown
               : shown + QStringLiteral("  [") + label + QLatin1Char(']');
}

} // namespace

QList<Drive> surveyDrives(const QList<MountedVolume>& volumes, VolumeProbes& probes,
                          const QHash<QString, QString>& labels)
{
    const std::vector<std::optional<VolumeAnswer>> answers = probes.ask(volumes);
    QList<Drive> drives;
    for (qsizetype i = 0; i < volumes.size(); ++i) {
        const MountedVolume& volume = volumes.at(i);
        const std::optional<VolumeAnswer>& answer = answers.at(static_cast<size_t>(i));
        const bool isRoot = volume.root == QLatin1String("/");
        if (!answer || answer->error != 0) {
            drives.append(failedDrive(
                volume.root, answer.value_or(VolumeAnswer{false, 0, VolumeAnswer::kNoAnswer})));
        } else if (isRoot || (answer->ready && answer->bytesTotal > 0)) {
            drives.append(
                {volume.root, driveText(volume.root, labels.value(deviceOf(volume))), true});
        }
    }
    std::sort(drives.begin(), drives.end(),
              [](const Drive& a, const Drive& b) { return a.root < b.root; });
    return drives;
}

} // namespace kadrix
