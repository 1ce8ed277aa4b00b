#include "platform/VolumeQuestions.h"

#include <QDir>
#include <QSet>

#include <string>
#include <windows.h>

namespace kadrix {

namespace {

// While it lives, a drive without its disk fails the calling thread's
// question at once instead of asking the user to insert one.
class NoDiskPrompt {
public:
    NoDiskPrompt() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
    ~NoDiskPrompt() { SetThreadErrorMode(previous_, nullptr); }
    NoDiskPrompt(const NoDiskPrompt&) = delete;
    NoDiskPrompt& operator=(const NoDiskPrompt&) = delete;

private:
    DWORD previous_ = 0;
};

std::wstring nativeRoot(const MountedVolume& volume)
{
    return QDir::toNativeSeparators(volume.root).toStdWString();
}

// The volume's label; empty when it has none or cannot tell.
QString labelOf(const std::wstring& root)
{
    wchar_t label[MAX_PATH + 1];
    if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr,
                               nullptr, 0))
        return {};
    return QString::fromWCharArray(label);
}

} // namespace

// The questions are asked on a thread that the caller can leave behind with
// a patience of its own: a network drive that stopped answering holds only
// that thread.
VolumeAnswer answerInChild(const std::function<VolumeAnswer()>& ask)
{
    return ask();
}

// A drive without its disk fails at once with ERROR_NOT_READY.
VolumeAnswer askFileSystem(const MountedVolume& volume)
{
    const NoDiskPrompt quiet;
    const std::wstring root = nativeRoot(volume);
    ULARGE_INTEGER total{};
    if (!GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0) ||
        !GetDiskFreeSpaceExW(root.c_str(), nullptr, &total, nullptr))
        return {false, 0, static_cast<int>(GetLastError())};
    return {true, total.QuadPart, 0};
}

// A share whose connection is lost answers no better than a silent one; a
// drive without its disk is unavailable.
VolumeProblem problemOf(const VolumeAnswer& answer)
{
    static const QSet<int> silent{
        VolumeAnswer::kNoAnswer,  ERROR_BAD_NETPATH,         ERROR_NETNAME_DELETED,
        ERROR_SEM_TIMEOUT,        ERROR_DEV_NOT_EXIST,       ERROR_UNEXP_NET_ERR,
        ERROR_BAD_NET_RESP,       ERROR_NETWORK_UNREACHABLE, ERROR_HOST_UNREACHABLE,
        ERROR_CONNECTION_UNAVAIL, ERROR_NO_NET_OR_BAD_PATH};
    if (answer.error == 0)
        return VolumeProblem::None;
    if (silent.contains(answer.error))
        return VolumeProblem::NotAnswering;
    return answer.error == ERROR_ACCESS_DENIED || answer.error == ERROR_LOGON_FAILURE
               ? VolumeProblem::PermissionDenied
               : VolumeProblem::Unavailable;
}

// A network drive is shown with its share, as the system remembers it,
// and its server is never asked: it may not answer.
QHash<QString, QString> volumeLabels()
{
    const NoDiskPrompt quiet;
    QHash<QString, QString> labels;
    for (const MountedVolume& volume : readMountTable()) {
        const QString label = volume.type == "remote" ? volume.source : labelOf(nativeRoot(volume));
        if (!label.isEmpty())
            labels.insert(deviceOf(volume), label);
    }
    return labels;
}

QString deviceOf(const MountedVolume& volume)
{
    return volume.root;
}

} // namespace kadrix
