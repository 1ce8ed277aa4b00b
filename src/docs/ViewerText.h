#pragma once

#include "platform/OpenFiles.h"

#include <QByteArrayView>
#include <QString>

#include <atomic>
#include <memory>

namespace kadrix {

// What opening the viewer's file gave.
enum class ViewerRead {
    Read,         // the file is open and can be shown
    NoFreeHandle, // the system has no file handle left to open it
    NotFound,     // the file cannot be opened: missing, no access, not a plain file
    Unreadable,   // opened but not shown: empty, or a read error
};

enum class TextEncoding { Utf8, Windows1252 };

// A plain file opened for the viewer, read in pieces as they are needed.
// The viewer shows everything but the file's last byte, so that the line end
// that closes a file does not leave an empty line. Reads may come from any
// thread.
class TextFile final {
public:
    TextFile(UniqueFd file, const FileStatus& status);
    Q_DISABLE_COPY_MOVE(TextFile)

    // The bytes the viewer shows: all but the last.
    qint64 shownSize() const { return status_.size - 1; }
    // Bytes [from, to) of the shown part; fewer on a read error.
    QByteArray read(qint64 from, qint64 to) const;
    // The same into `bytes`, whose memory is used again.
    void read(qint64 from, qint64 to, QByteArray& bytes) const;
    // The same file, unchanged since `other` was opened.
    bool sameAs(const TextFile& other) const;
    // Another program has made the file shorter or longer, or written it,
    // since it was opened: reads no longer give the bytes counted.
    bool hasChanged() const;
    // The same open file as it is now, its size taken afresh; null when no
    // file handle is left.
    std::shared_ptr<TextFile> reopened() const;

    // Texts are UTF-8 until a byte sequence proves otherwise; then the whole
    // file is read in the Windows code page the suite's older texts use.
    TextEncoding encoding() const
    {
        return legacy_.load() ? TextEncoding::Windows1252 : TextEncoding::Utf8;
    }
    void markLegacy() { legacy_.store(true); }

private:
    UniqueFd file_;
    FileStatus status_; // as it was when the file was opened
    std::atomic<bool> legacy_ = false;
};

struct OpenedText {
    ViewerRead result = ViewerRead::Unreadable;
    std::shared_ptr<TextFile> file;
};

// Opens `path` for the viewer without ever blocking: only a plain file is
// opened; a pipe, socket, device or directory counts as a file that cannot
// be opened.
OpenedText openViewerFile(const QString& path);

struct ViewerText {
    ViewerRead result = ViewerRead::Unreadable;
    QString text;
};

// The whole text the viewer shows of `path`, read at once.
ViewerText readViewerText(const QString& path);

// Bytes of a text file as the viewer shows them, in `encoding`; CR LF and a
// lone CR become one line feed. A character cut off at the end is left out.
QString decodeViewerText(QByteArrayView bytes, TextEncoding encoding);
// The same, UTF-8 when the bytes are valid UTF-8, else the Windows code page.
QString decodeViewerText(QByteArrayView bytes);

// The byte-order mark that starts `bytes` in `encoding`, which decoding
// drops: its length, or 0.
qsizetype byteOrderMark(QByteArrayView bytes, TextEncoding encoding);

// How many of `bytes` decode, as decodeViewerText does, to the first
// `units` UTF-16 code units of the text; a leading byte-order mark counts
// for none.
qsizetype bytesOfUnits(QByteArrayView bytes, TextEncoding encoding, qsizetype units);

// How many of `bytes` end on a whole UTF-8 character: a sequence begun in
// the last three bytes and not finished is left out.
qsizetype wholeUtf8Prefix(QByteArrayView bytes);

} // namespace kadrix
