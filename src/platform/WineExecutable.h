#pragma once

#include <QByteArrayView>
#include <QString>

namespace kadrix {

// What a Windows executable needs from Wine, as its header says: a 16-bit
// (NE) or 32-bit (PE, i386) program needs Wine's 32-bit part, a 64-bit one
// (PE, x86-64) the 64-bit part.
enum class WindowsArchitecture { Unknown, Bits16, Bits32, Bits64 };

// Reads the architecture from the first bytes of an executable (the DOS
// header and the header it points to); Unknown when they are not those of
// a Windows program for Intel processors.
WindowsArchitecture architectureOfHeader(QByteArrayView head);
WindowsArchitecture architectureOfFile(const QString& path);

} // namespace kadrix
