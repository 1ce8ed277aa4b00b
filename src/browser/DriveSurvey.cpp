#include "browser/DriveSurvey.h"

#include "platform/ChildProcess.h"
#include "platform/DirectoryScan.h"
#include "platform/FileErrors.h"
#include "platform/NativeNames.h"

#include <QSet>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <dirent.h>
#include <mutex>
#include <sys/vfs.h>
#include <thread>
#include <unistd.h>

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

VolumeAnswer answerOf(int result, const struct statfs& info)
{
    return {result == 0, static_cast<quint64>(info.f_blocks) * static_cast<quint64>(info.f_frsize),
            result == 0 ? 0 : errno};
}

} // namespace

// A question to a file system whose server has stopped answering holds the
// asking thread in the kernel beyond any signal, and with it the end of the
// whole process: it is asked by a child process of its own (see
// ChildProcess.h), and this thread only waits on a pipe, which never holds
// the process. A child costs a copy of the process's page tables, so local
// file systems are asked directly.
VolumeAnswer answerInChild(const std::function<VolumeAnswer()>& ask)
{
    ChildQuestion child([&](int answerFd) {
        const VolumeAnswer answer = ask();
        writeAll(answerFd, &answer, sizeof answer);
    });
    VolumeAnswer answer;
    if (child.readExactly(&answer, sizeof answer) != sizeof answer)
        return {false, 0, VolumeAnswer::kNoAnswer};
    return answer;
}

VolumeAnswer askFileSystem(const MountedVolume& volume)
{
    const QByteArray path = encodeNativeName(volume.root);
    const auto ask = [&] {
        struct statfs info {};
        return answerOf(::statfs(path.constData(), &info), info);
    };
    return isLocalFileSystem(volume.type) ? ask() : answerInChild(ask);
}

namespace {

constexpr const char* kLabelDirectory = "/dev/disk/by-label";

// udev writes the bytes of a label that cannot stand in a name as \xNN.
QString labelOfLinkName(const QByteArray& name)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < name.size(); ++i) {
        bool ok = false;
        const int byte = name.mid(i + 2, 2).toInt(&ok, 16);
        if (name.at(i) == '\\' && i + 3 < name.size() && name.at(i + 1) == 'x' && ok) {
            bytes.append(static_cast<char>(byte));
            i += 3;
        } else {
            bytes.append(name.at(i));
        }
    }
    return decodeNativeName(bytes);
}

QString deviceOf(const QByteArray& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.constData(), resolved) ? decodeNativeName(resolved) : QString();
}

// A share whose connection is lost answers no better than a silent one.
bool isSilent(const VolumeAnswer& answer)
{
    static const QSet<int> silent{
        VolumeAnswer::kNoAnswer, ENOTCONN, ETIMEDOUT, EHOSTDOWN, EHOSTUNREACH, ESTALE, EIO};
    return silent.contains(answer.error);
}

Drive failedDrive(const QString& root, const VolumeAnswer& answer)
{
    if (isSilent(answer))
        return {root, shownName(root) + QStringLiteral("  (not answering)"), false, {}};
    const QString problem = describeFileError(
        answer.error == EACCES || answer.error == EPERM ? kPermissionDenied : kDeviceUnavailable);
    return {root, shownName(root) + QStringLiteral("  (") + problem + QLatin1Char(')'), false,
            problem};
}

QString driveText(const QString& root, const QString& label)
{
    const QString shown = shownName(root);
    return label.isEmpty() || label == root
               ? shown
               : shown + QStringLiteral("  [") + label + QLatin1Char(']');
}

} // namespace

QHash<QString, QString> volumeLabels()
{
    QHash<QString, QString> labels;
    DIR* links = ::opendir(kLabelDirectory);
    if (!links)
        return labels;
    while (const dirent* entry = ::readdir(links)) {
        if (entry->d_name[0] == '.')
            continue;
        const QByteArray path = QByteArray(kLabelDirectory) + '/' + entry->d_name;
        const QString device = deviceOf(path);
        if (!device.isEmpty())
            labels.insert(device, labelOfLinkName(entry->d_name));
    }
    ::closedir(links);
    return labels;
}

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
            const QString device = volume.source.startsWith(QLatin1String("/dev/"))
                                       ? deviceOf(encodeNativeName(volume.source))
                                       : QString();
            drives.append({volume.root, driveText(volume.root, labels.value(device)), true});
        }
    }
    std::sort(drives.begin(), drives.end(),
              [](const Drive& a, const Drive& b) { return a.root < b.root; });
    return drives;
}

} // namespace kadrix
