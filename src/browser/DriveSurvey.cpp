#include "browser/DriveSurvey.h"

#include "platform/DirectoryScan.h"
#include "platform/NativeNames.h"

#include <QSet>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/vfs.h>
#include <sys/wait.h>
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
    return {result == 0, static_cast<quint64>(info.f_blocks) * static_cast<quint64>(info.f_frsize)};
}

// A question to a file system whose server has stopped answering holds the
// asking thread in the kernel beyond any signal, and with it the end of the
// whole process: it is asked by a child process of its own, and this thread
// only waits on a pipe, which never holds the process. A child costs a copy
// of the process's page tables, so local file systems are asked directly.
// The child keeps no descriptor of the front-end's but `kept`: not the
// display's connection, which would hold the windows on the screen after
// the front-end has gone while the child still waits, nor an open trial.
void closeAllBut(int kept)
{
    if (kept > 3)
        ::close_range(3, static_cast<unsigned>(kept) - 1, 0);
    ::close_range(static_cast<unsigned>(std::max(kept + 1, 3)), ~0U, 0);
}

VolumeAnswer askInChild(const QByteArray& path)
{
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        closeAllBut(pipe[1]);
        struct statfs info {};
        const VolumeAnswer answer = answerOf(::statfs(path.constData(), &info), info);
        const ssize_t written = ::write(pipe[1], &answer, sizeof answer);
        ::_exit(written == sizeof answer ? 0 : 1);
    }
    ::close(pipe[1]);
    VolumeAnswer answer;
    ssize_t count = -1;
    if (child > 0) {
        do {
            count = ::read(pipe[0], &answer, sizeof answer);
        } while (count < 0 && errno == EINTR);
        ::waitpid(child, nullptr, 0);
    }
    ::close(pipe[0]);
    return count == sizeof answer ? answer : VolumeAnswer{};
}

} // namespace

VolumeAnswer askFileSystem(const MountedVolume& volume)
{
    const QByteArray path = encodeNativeName(volume.root);
    if (!isLocalFileSystem(volume.type))
        return askInChild(path);
    struct statfs info {};
    return answerOf(::statfs(path.constData(), &info), info);
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
        if (!answer) {
            drives.append(
                {volume.root, shownName(volume.root) + QStringLiteral("  (not answering)"), false});
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
