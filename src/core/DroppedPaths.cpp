#include "core/DroppedPaths.h"

#include "platform/NativeNames.h"

#include <QDir>
#include <QMimeData>
#include <QUrl>

namespace kadrix {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");
const QString kGnomeCopiedFiles = QStringLiteral("x-special/gnome-copied-files");

// The local path a file URL names, its bytes taken from the percent-encoding
// itself: QUrl::toLocalFile would decode them as UTF-8 and turn a byte that
// is no UTF-8 into U+FFFD, another name.
QString pathOfFileUrl(QByteArrayView line)
{
    const QUrl url = QUrl::fromEncoded(line.toByteArray().trimmed(), QUrl::StrictMode);
    if (!url.isValid() || !url.isLocalFile())
        return {};
    if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
        return {};
    return localPathOfUrlPath(
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

QStringList pathsOfUrlLines(const QByteArray& text)
{
    QStringList paths;
    for (const QByteArray& line : text.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith('#'))
            continue; // a comment of the URI list
        if (const QString path = pathOfFileUrl(trimmed); !path.isEmpty())
            paths.append(path);
    }
    return paths;
}

// A line of text is a path when it is absolute, perhaps in quotes, as a
// terminal or a file manager copies it; or a file URL.
QString pathOfTextLine(QString line)
{
    line = line.trimmed();
    if (line.size() > 1 &&
        (line.front() == QLatin1Char('"') || line.front() == QLatin1Char('\'')) &&
        line.back() == line.front())
        line = line.mid(1, line.size() - 2);
    if (line.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return pathOfFileUrl(line.toUtf8());
    return QDir::isAbsolutePath(QDir::fromNativeSeparators(line)) ? line : QString();
}

} // namespace

QStringList droppedPaths(const QMimeData& data)
{
    if (data.hasFormat(kUriList))
        return pathsOfUrlLines(data.data(kUriList));
    if (data.hasFormat(kGnomeCopiedFiles))
        return pathsOfUrlLines(data.data(kGnomeCopiedFiles)); // "copy" or "cut" first: no URL
    QStringList paths;
    for (const QString& line : data.text().split(QLatin1Char('\n'))) {
        if (const QString path = pathOfTextLine(line); !path.isEmpty())
            paths.append(path);
    }
    return paths;
}

} // namespace kadrix
