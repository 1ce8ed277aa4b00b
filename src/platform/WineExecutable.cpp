#include "platform/WineExecutable.h"

#include "platform/FileErrors.h"

#include <QFile>

namespace kadrix {

namespace {

// Where the DOS header keeps the offset of the Windows header.
constexpr qsizetype kNewHeaderOffset = 0x3C;
constexpr quint16 kMachineI386 = 0x014C;
constexpr quint16 kMachineAmd64 = 0x8664;
// Enough for the headers of every linker's output.
constexpr qint64 kHeadSize = 4096;

quint32 littleEndian(QByteArrayView bytes, qsizetype at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<quint8>(bytes[at + i]);
    return value;
}

} // namespace

WindowsArchitecture architectureOfHeader(QByteArrayView head)
{
    if (head.size() < kNewHeaderOffset + 4 || !head.startsWith("MZ"))
        return WindowsArchitecture::Unknown;
    const quint32 offset = littleEndian(head, kNewHeaderOffset, 4);
    if (offset > quint32(head.size()) - 6)
        return WindowsArchitecture::Unknown;
    const QByteArrayView header = head.sliced(offset);
    if (header.startsWith("NE"))
        return WindowsArchitecture::Bits16;
    if (!header.startsWith(QByteArrayView("PE\0\0", 4)))
        return WindowsArchitecture::Unknown;
    switch (littleEndian(header, 4, 2)) {
    case kMachineI386:
        return WindowsArchitecture::Bits32;
    case kMachineAmd64:
        return WindowsArchitecture::Bits64;
    default:
        return WindowsArchitecture::Unknown;
    }
}

WindowsArchitecture architectureOfFile(const QString& path)
{
    QFile file;
    if (openRegularFile(file, path)) // a pipe or device is never waited on
        return WindowsArchitecture::Unknown;
    return architectureOfHeader(file.read(kHeadSize));
}

} // namespace kadrix
