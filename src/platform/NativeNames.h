#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// File names as the system holds them are bytes; most are UTF-8, but a name
// copied from old media may hold bytes that are no UTF-8 at all (a Windows
// code page, say). The program keeps every name as text that stands for its
// bytes exactly: each byte that is not part of valid UTF-8 becomes one
// character of its own (U+DC80 to U+DCFF, which valid UTF-8 never yields),
// so that decoding and encoding again give back the very bytes, and two
// names never become one.

namespace kadrix {

// The text standing for the name's bytes.
QString decodeNativeName(QByteArrayView bytes);
// The bytes a text made by decodeNativeName stands for; other text as UTF-8.
QByteArray encodeNativeName(const QString& name);
// Whether `name` holds bytes that are no UTF-8.
bool holdsUndecodedBytes(const QString& name);
// The local path that the path of a file URL names, its percent-encoding
// already undone: the bytes themselves, or on Windows, where a URL gives a
// drive as "/C:/data", that drive's path with Windows separators.
QString localPathOfUrlPath(const QByteArray& bytes);
// The name as the user sees it: each byte that is no UTF-8 written as \xFF.
QString shownName(const QString& name);

// Upper, lower and folded case of a name, its bytes that are no UTF-8 kept
// as they are (Qt's own conversions would turn them into U+FFFD).
QString upperCased(const QString& name);
QString lowerCased(const QString& name);
QString caseFolded(const QString& name);

// Letter case as the classic platform ignored it: A to Z against a to z,
// and nothing else, so that no lookalike letter (the Kelvin sign, the long
// s) ever stands for another.
QString foldedAsciiCase(const QString& text);
// a to z made A to Z, and nothing else.
QString asciiUpperCased(const QString& text);
bool sameIgnoringAsciiCase(QStringView a, QStringView b);
inline char foldedAsciiByte(char byte)
{
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
}

} // namespace kadrix
