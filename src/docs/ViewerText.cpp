#include "docs/ViewerText.h"

#include "platform/NativeNames.h"

#include <QStringDecoder>

namespace kadrix {

namespace {

// Windows-1252 differs from Latin-1 in 0x80 to 0x9F alone; the five bytes
// it leaves undefined stay the control characters Latin-1 makes of them.
// Written out here: not every Qt has the codec (the Windows one has no ICU).
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeLegacy(QByteArrayView bytes)
{
    QString text = QString::fromLatin1(bytes);
    for (QChar& c : text) {
        if (c.unicode() >= 0x80 && c.unicode() < 0xA0)
            c = QChar(kWindows1252High[c.unicode() - 0x80]);
    }
    return text;
}

// CR LF and a lone CR become one line feed, in one pass over the text:
// QString::replace would move the rest of a long text at every line end.
void unifyLineEnds(QString& text)
{
    if (!text.contains(QLatin1Char('\r')))
        return;
    QChar* out = text.data();
    const QChar* in = out;
    const QChar* const end = in + text.size();
    for (; in < end; ++in) {
        if (*in == u'\r') {
            *out++ = u'\n';
            if (in + 1 < end && in[1] == u'\n')
                ++in;
        } else {
            *out++ = *in;
        }
    }
    text.truncate(out - text.constData());
}

} // namespace

TextFile::TextFile(UniqueFd file, const FileStatus& status)
    : file_(std::move(file))
    , status_(status)
{}

QByteArray TextFile::read(qint64 from, qint64 to) const
{
    QByteArray bytes;
    read(from, to, bytes);
    return bytes;
}

void TextFile::read(qint64 from, qint64 to, QByteArray& bytes) const
{
    to = qMin(to, shownSize());
    bytes.resize(qMax<qint64>(to - from, 0));
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 got =
            readAt(file_.get(), bytes.data() + done, bytes.size() - done, from + done);
        if (got <= 0)
            break;
        done += got;
    }
    bytes.truncate(done);
}

bool TextFile::sameAs(const TextFile& other) const
{
    return status_.identity == other.status_.identity && status_.size == other.status_.size &&
           status_.modifiedNs == other.status_.modifiedNs;
}

bool TextFile::hasChanged() const
{
    FileStatus now;
    return statusOf(file_.get(), now) == 0 &&
           (now.size != status_.size || now.modifiedNs != status_.modifiedNs);
}

std::shared_ptr<TextFile> TextFile::reopened() const
{
    UniqueFd copy = duplicateFile(file_.get());
    FileStatus status;
    if (!copy || statusOf(copy.get(), status) != 0)
        return nullptr;
    // Its bytes are checked for UTF-8 again, as a file opened anew.
    return std::make_shared<TextFile>(std::move(copy), status);
}

OpenedText openViewerFile(const QString& path)
{
    UniqueFd opened;
    FileStatus status;
    if (const int error = openRegular(encodeNativeName(path), OpenAccess::Read, OpenLinks::Follow,
                                      opened, status))
        return {outOfFileHandles(error) ? ViewerRead::NoFreeHandle : ViewerRead::NotFound, {}};
    auto file = std::make_shared<TextFile>(std::move(opened), status);
    if (file->shownSize() < 0)
        return {ViewerRead::Unreadable, {}};
    return {ViewerRead::Read, std::move(file)};
}

ViewerText readViewerText(const QString& path)
{
    const OpenedText opened = openViewerFile(path);
    if (opened.result != ViewerRead::Read)
        return {opened.result, {}};
    const QByteArray bytes = opened.file->read(0, opened.file->shownSize());
    if (bytes.size() != opened.file->shownSize())
        return {ViewerRead::Unreadable, {}};
    return {ViewerRead::Read, decodeViewerText(bytes)};
}

QString decodeViewerText(QByteArrayView bytes, TextEncoding encoding)
{
    QString text;
    if (encoding == TextEncoding::Utf8) {
        // A character cut in two stays in the decoder's state: left out.
        QStringDecoder utf8(QStringDecoder::Utf8);
        text = utf8.decode(bytes);
    } else {
        text = decodeLegacy(bytes);
    }
    unifyLineEnds(text);
    return text;
}

QString decodeViewerText(QByteArrayView bytes)
{
    const bool utf8 = bytes.first(wholeUtf8Prefix(bytes)).isValidUtf8();
    return decodeViewerText(bytes, utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252);
}

qsizetype byteOrderMark(QByteArrayView bytes, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 && bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
}

qsizetype bytesOfUnits(QByteArrayView bytes, TextEncoding encoding, qsizetype units)
{
    qsizetype at = byteOrderMark(bytes, encoding);
    while (units > 0 && at < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes.at(at));
        qsizetype length = 1;
        qsizetype taken = 1;
        if (lead == '\r' && at + 1 < bytes.size() && bytes.at(at + 1) == '\n') {
            length = 2;
        } else if (encoding == TextEncoding::Utf8 && lead >= 0xC0) {
            length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            taken = lead >= 0xF0 ? 2 : 1; // outside the first plane: two units
        }
        if (taken > units)
            break;
        at = qMin(at + length, bytes.size());
        units -= taken;
    }
    return at;
}

qsizetype wholeUtf8Prefix(QByteArrayView bytes)
{
    const qsizetype size = bytes.size();
    for (qsizetype back = 1; back <= qMin<qsizetype>(3, size); ++back) {
        const auto byte = static_cast<unsigned char>(bytes.at(size - back));
        if ((byte & 0xC0) == 0x80)
            continue; // a continuation byte: look further back
        if (byte < 0xC0)
            return size;
        const qsizetype length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        return length > back ? size - back : size;
    }
    return size;
}

} // namespace kadrix
