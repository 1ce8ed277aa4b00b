#include "platform/VolumeQuestions.h"

#include "platform/ChildProcess.h"
#include "platform/DirectoryScan.h"
#include "platform/NativeNames.h"

#include <QSet>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace kadrix {

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

QString realPathOf(const QByteArray& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.constData(), resolved) ? decodeNativeName(resolved) : QString();
}

} // namespace

// A share whose connection is lost answers no better than a silent one.
VolumeProblem problemOf(const VolumeAnswer& answer)
{
    static const QSet<int> silent{
        VolumeAnswer::kNoAnswer, ENOTCONN, ETIMEDOUT, EHOSTDOWN, EHOSTUNREACH, ESTALE, EIO};
    if (answer.error == 0)
        return VolumeProblem::None;
    if (silent.contains(answer.error))
        return VolumeProblem::NotAnswering;
    return answer.error == EACCES || answer.error == EPERM ? VolumeProblem::PermissionDenied
                                                           : VolumeProblem::Unavailable;
}

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
        const QString device = realPathOf(path);
        if (!device.isEmpty())
            labels.insert(device, labelOfLinkName(entry->d_name));
    }
    ::closedir(links);
    return labels;
}

QString deviceOf(const MountedVolume& volume)
{
    return volume.source.startsWith(QLatin1String("/dev/"))
               ? realPathOf(encodeNativeName(volume.source))
               : QString();
}

} // namespace kadrix
