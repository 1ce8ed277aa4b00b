#include "docs/ViewerText.h"

#include "platform/NativeNames.h"

#include <QStringDecoder>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kadrix {

namespace {

QString decodeLegacy(QByteArrayView bytes)
{
    QStringDecoder windows1252("windows-1252");
    if (windows1252.isValid())
        return windows1252.decode(bytes);
    return QString::fromLatin1(bytes);
}

bool runOutOfHandles(int error)
{
    return error == EMFILE || error == ENFILE;
}

qint64 changeTime(const struct stat& info)
{
    return qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
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

TextFile::TextFile(int descriptor, qint64 size, dev_t device, ino_t inode, qint64 changedNs)
    : descriptor_(descriptor)
    , size_(size)
    , device_(device)
    , inode_(inode)
    , changedNs_(changedNs)
{}

TextFile::~TextFile()
{
    ::close(descriptor_);
}

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
        const ssize_t got =
            ::pread(descriptor_, bytes.data() + done, size_t(bytes.size() - done), from + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += got;
    }
    bytes.truncate(done);
}

bool TextFile::sameAs(const TextFile& other) const
{
    return device_ == other.device_ && inode_ == other.inode_ && size_ == other.size_ &&
           changedNs_ == other.changedNs_;
}

bool TextFile::hasChanged() const
{
    struct stat info {};
    return ::fstat(descriptor_, &info) == 0 &&
           (qint64(info.st_size) != size_ || changeTime(info) != changedNs_);
}

std::shared_ptr<TextFile> TextFile::reopened() const
{
    const int copy = ::fcntl(descriptor_, F_DUPFD_CLOEXEC, 0);
    if (copy < 0)
        return nullptr;
    struct stat info {};
    if (::fstat(copy, &info) != 0) {
        ::close(copy);
        return nullptr;
    }
    // Its bytes are checked for UTF-8 again, as a file opened anew.
    return std::make_shared<TextFile>(copy, qint64(info.st_size), info.st_dev, info.st_ino,
                                      changeTime(info));
}

OpenedText openViewerFile(const QString& path)
{
    // Looked at first, so that opening never waits for a pipe's writer or
    // wakes a device.
    const QByteArray name = encodeNativeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return {ViewerRead::NotFound, {}};
    errno = 0;
    const int descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return {runOutOfHandles(errno) ? ViewerRead::NoFreeHandle : ViewerRead::NotFound, {}};
    // The name may have been given to another file in between.
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return {ViewerRead::NotFound, {}};
    }
    auto file = std::make_shared<TextFile>(descriptor, qint64(info.st_size), info.st_dev,
                                           info.st_ino, changeTime(info));
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
