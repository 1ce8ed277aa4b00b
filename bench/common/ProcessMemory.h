#pragma once

#include <QFile>
#include <QList>

#include <utility>

// The process's memory as the kernel counts it (/proc/self/status), for
// benches that report what a piece of work cost above the idle process.

// A field of /proc/self/status ("VmRSS:", "VmHWM:"), in KiB.
inline long statusKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').constFirst().toLong();
    }
    return 0;
}

// The peak resident memory so far, in KiB.
inline long peakMemoryKiB()
{
    return statusKiB("VmHWM:");
}

// The resident memory now and at its peak, in MB.
inline std::pair<double, double> residentMemory()
{
    return {double(statusKiB("VmRSS:")) / 1024, double(peakMemoryKiB()) / 1024};
}

// Starts the peak anew (writing 5 to clear_refs).
inline void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}
