#include "platform/MountTable.h"

#include "platform/NativeNames.h"

#include <QFile>

#include <algorithm>

namespace kadrix {

namespace {

// The table writes blanks, tabs, line feeds and backslashes as \ooo.
QByteArray unescaped(QByteArrayView field)
{
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](qsizetype at) {
            return at < field.size() && field[at] >= '0' && field[at] <= '7';
        };
        if (field[i] == '\\' && isOctal(i + 1) && isOctal(i + 2) && isOctal(i + 3)) {
            bytes.append(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                           (field[i + 3] - '0')));
            i += 3;
        } else {
            bytes.append(field[i]);
        }
    }
    return bytes;
}

bool lies(const QString& path, const QString& under)
{
    return path == under || path.startsWith(under + QLatin1Char('/'));
}

bool isKernelVolume(const MountedVolume& volume)
{
    for (const char* place : {"/dev", "/proc", "/sys", "/var/run", "/var/lock"}) {
        if (lies(volume.root, QLatin1String(place)))
            return true;
    }
    return volume.type == "rootfs";
}

// "id parent major:minor root mount-point options [optional...] - type source options"
bool parseLine(QByteArrayView line, MountedVolume& volume)
{
    const QList<QByteArrayView> fields = [&] {
        QList<QByteArrayView> split;
        for (qsizetype at = 0; at < line.size();) {
            const qsizetype blank = line.indexOf(' ', at);
            const qsizetype end = blank < 0 ? line.size() : blank;
            split.append(line.sliced(at, end - at));
            at = end + 1;
        }
        return split;
    }();
    const auto separator = std::find(fields.begin(), fields.end(), QByteArrayView("-"));
    if (fields.size() < 5 || separator == fields.end() || fields.end() - separator < 3)
        return false;
    volume.root = decodeNativeName(unescaped(fields.at(4)));
    volume.type = unescaped(*(separator + 1));
    volume.source = decodeNativeName(unescaped(*(separator + 2)));
    return !volume.root.isEmpty();
}

} // namespace

QList<MountedVolume> parseMountInfo(QByteArrayView text)
{
    QList<MountedVolume> volumes;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype newline = text.indexOf('\n', at);
        const qsizetype end = newline < 0 ? text.size() : newline;
        MountedVolume volume;
        if (parseLine(text.sliced(at, end - at), volume) && !isKernelVolume(volume)) {
            volumes.removeIf([&](const MountedVolume& v) { return v.root == volume.root; });
            volumes.append(volume);
        }
        at = end + 1;
    }
    return volumes;
}

QList<MountedVolume> readMountTable()
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    QList<MountedVolume> volumes;
    if (table.open(QIODevice::ReadOnly))
        volumes = parseMountInfo(table.readAll());
    if (std::none_of(volumes.cbegin(), volumes.cend(),
                     [](const MountedVolume& v) { return v.root == QLatin1String("/"); }))
        volumes.prepend({QStringLiteral("/"), {}, {}});
    return volumes;
}

} // namespace kadrix
