#include "docs/TextSearch.h"

#include "docs/WorkerPriority.h"

#include <algorithm>

namespace kadrix {

namespace {

constexpr qint64 kPiece = 4 * 1024 * 1024;

// How much of `bytes` to take so that the piece ends at a line end, where
// there is one; a CR at the very end may be the first half of CR LF.
qsizetype wholeLines(const QByteArray& bytes)
{
    for (qsizetype i = bytes.size() - 1; i >= 0; --i) {
        if (bytes.at(i) == '\n' || (bytes.at(i) == '\r' && i + 1 < bytes.size()))
            return i + 1;
    }
    return bytes.size();
}

// Searches bytes [from, to) of `file`, whose first line is `line`, from
// character `column` on; stops when asked to.
TextMatch searchRange(const TextFile& file, const QString& needle, qint64 from, qint64 to,
                      qint64 line, qsizetype column, const std::stop_token& stop)
{
    while (from < to && !stop.stop_requested()) {
        QByteArray bytes = file.read(from, qMin(from + kPiece, to));
        if (bytes.isEmpty())
            break;
        if (from + bytes.size() < to)
            bytes.truncate(wholeLines(bytes));
        const QString text = decodeViewerText(bytes, file.encoding());
        const qsizetype at = text.indexOf(needle, column, Qt::CaseInsensitive);
        if (at >= 0) {
            const auto before = text.constBegin() + at;
            const qsizetype lineStart = text.lastIndexOf(QLatin1Char('\n'), at) + 1;
            return {line + std::count(text.constBegin(), before, u'\n'), at - lineStart,
                    needle.size()};
        }
        line += text.count(QLatin1Char('\n'));
        from += bytes.size();
        column = 0;
    }
    return {};
}

} // namespace

TextSearch::TextSearch(QObject* parent)
    : QObject(parent)
{}

TextSearch::~TextSearch()
{
    stop();
}

void TextSearch::stop()
{
    ++generation_;
    running_ = false;
    if (worker_.joinable()) {
        worker_.request_stop();
        worker_.join();
    }
}

void TextSearch::start(std::shared_ptr<TextFile> file, const QString& needle, qint64 line,
                       qint64 lineStart, qint64 lineEnd, qsizetype column)
{
    stop();
    running_ = true;
    const unsigned generation = generation_;
    worker_ = std::jthread([=, this](std::stop_token stop) {
        yieldToTheUserInterface();
        TextMatch match =
            searchRange(*file, needle, lineStart, file->shownSize(), line, column, stop);
        // Round from the start; the line where it began is searched again
        // whole, for a match before the column.
        if (match.line < 0)
            match = searchRange(*file, needle, 0, lineEnd, 0, 0, stop);
        if (stop.stop_requested())
            return;
        QMetaObject::invokeMethod(
            this, [this, generation, match] { report(generation, match); }, Qt::QueuedConnection);
    });
}

void TextSearch::report(unsigned generation, TextMatch match)
{
    if (generation != generation_)
        return;
    running_ = false;
    if (match.line >= 0)
        Q_EMIT found(match);
    else
        Q_EMIT notFound();
}

} // namespace kadrix
