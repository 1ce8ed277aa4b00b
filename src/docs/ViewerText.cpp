#include "docs/ViewerText.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>

namespace kadrix {

namespace {

QString decodeLegacy(QByteArrayView bytes)
{
    QStringDecoder windows1252("windows-1252");
    if (windows1252.isValid())
        return windows1252.decode(bytes);
    return QString::fromLatin1(bytes);
}

QString decode(QByteArrayView bytes)
{
    // A character cut in two by the dropped last byte stays in the
    // decoder's state: it is left out, and is no error.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? decodeLegacy(bytes) : text;
}

bool runOutOfHandles(int error)
{
    return error == EMFILE || error == ENFILE;
}

} // namespace

QString decodeViewerText(QByteArrayView bytes)
{
    QString text = decode(bytes);
    if (!text.contains(QLatin1Char('\r')))
        return text;
    // One pass over the text: QString::replace moves the rest of a long
    // text at every line end.
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
    return text;
}

ViewerText readViewerText(const QString& path)
{
    // A pipe or a device would block the window or never end; such a file
    // goes to the text editor like any other the text box cannot take.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir())
        return {ViewerRead::Unreadable, {}};

    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return {runOutOfHandles(errno) ? ViewerRead::NoFreeHandle : ViewerRead::NotFound, {}};

    const qint64 count = file.size() - 1;
    if (count < 0 || count >= kLargestViewerFile)
        return {ViewerRead::Unreadable, {}};
    const QByteArray bytes = file.read(count);
    if (bytes.size() != count)
        return {ViewerRead::Unreadable, {}};
    return {ViewerRead::Read, decodeViewerText(bytes)};
}

} // namespace kadrix
