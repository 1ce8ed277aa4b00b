#pragma once

#include <QByteArrayView>
#include <QString>

namespace kadrix {

// What reading the viewer's file gave.
enum class ViewerRead {
    Read,         // `text` holds what the text box shows
    NoFreeHandle, // the system has no file handle left to open it
    NotFound,     // the file cannot be opened: missing, no access, a directory
    Unreadable,   // opened but not shown: empty, a read error, too large, not a plain file
};

struct ViewerText {
    ViewerRead result = ViewerRead::Unreadable;
    QString text;
};

// The largest file the text box takes; a larger one goes to the text editor.
inline constexpr qint64 kLargestViewerFile = qint64(256) * 1024 * 1024;

// Reads a text file as the viewer shows it: everything but its last byte,
// so that the line end that closes a file does not leave an empty line.
ViewerText readViewerText(const QString& path);

// Bytes of a text file as the text box holds them: UTF-8 when they are valid
// UTF-8, else the Windows code page the suite's older texts were written in;
// CR LF and a lone CR become one line feed.
QString decodeViewerText(QByteArrayView bytes);

} // namespace kadrix
