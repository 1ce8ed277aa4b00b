#include "docs/TextSearch.h"

#include "platform/WorkerPriority.h"

#include <functional>

namespace kadrix {

namespace {

bool continues(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// One search through a file, a piece at a time.
class SearchPass {
public:
    SearchPass(TextFile& file, const QString& needle, qint64 pieceSize, const std::stop_token& stop,
               std::function<void(qint64)> searched)
        : file_(file)
        , needle_(needle)
        // A character takes at most three bytes a unit, CR LF two for one.
        , reach_(3 * needle.size())
        , piece_(qMax(pieceSize, 4 * reach_ + 16))
        , stop_(stop)
        , searched_(std::move(searched))
    {}

    // The first match that lies within bytes [from, to).
    TextMatch within(qint64 from, qint64 to)
    {
        for (qint64 start = from; start < to && !stop_.stop_requested();) {
            qint64 end = qMin(start + piece_, to);
            // One byte more, to see whether the cut would split a character or CR LF.
            const qint64 wanted = qMin(end + 1, to) - start;
            file_.read(start, start + wanted, bytes_);
            if (bytes_.size() < wanted)
                break; // a read error ends the text there
            if (end < to)
                end = start + characterStart(end - start);
            const TextMatch match = inPiece(start, end);
            if (match.from >= 0 || end >= to)
                return match;
            const qint64 next = start + characterStart(end - start - reach_);
            searched_(next - start);
            start = next;
        }
        return {};
    }

private:
    // The place at or a little before `at` in the piece where a character
    // starts and no CR LF is cut.
    qint64 characterStart(qint64 at) const
    {
        const qint64 lowest = qMax<qint64>(1, at - 4);
        while (at > lowest &&
               (continues(bytes_.at(at)) || (bytes_.at(at) == '\n' && bytes_.at(at - 1) == '\r')))
            --at;
        return at;
    }

    TextMatch inPiece(qint64 start, qint64 end)
    {
        const QByteArrayView piece = QByteArrayView(bytes_).first(end - start);
        // Bytes that are no UTF-8 make the file's text the Windows code page's.
        if (file_.encoding() == TextEncoding::Utf8 &&
            !piece.first(wholeUtf8Prefix(piece)).isValidUtf8())
            file_.markLegacy();
        const TextEncoding encoding = file_.encoding();
        const QString text = decodeViewerText(piece, encoding);
        const qsizetype at = text.indexOf(needle_, 0, Qt::CaseInsensitive);
        if (at < 0)
            return {};
        const qint64 from = start + bytesOfUnits(piece, encoding, at);
        return {from, from + bytesOfUnits(piece.sliced(from - start), encoding, needle_.size())};
    }

    TextFile& file_;
    const QString needle_;
    const qint64 reach_;
    const qint64 piece_;
    const std::stop_token& stop_;
    std::function<void(qint64)> searched_;
    QByteArray bytes_;
};

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

void TextSearch::start(std::shared_ptr<TextFile> file, const QString& needle, qint64 from)
{
    stop();
    running_ = true;
    const unsigned generation = generation_;
    const qint64 pieceSize = pieceSize_;
    worker_ = std::jthread([=, this](std::stop_token stop) {
        yieldToTheUserInterface();
        const qint64 size = qMax<qint64>(file->shownSize(), 1);
        qint64 searched = 0;
        int percent = -1;
        SearchPass pass(*file, needle, pieceSize, stop, [&](qint64 bytes) {
            searched += bytes;
            const int now = int(qBound<qint64>(0, searched * 100 / size, qint64(99)));
            if (now != percent)
                QMetaObject::invokeMethod(
                    this, [this, generation, now] { progress(generation, now); },
                    Qt::QueuedConnection);
            percent = now;
        });
        TextMatch match = pass.within(from, file->shownSize());
        // Round from the start, up to a match that begins before `from`.
        if (match.from < 0)
            match = pass.within(0, qMin(file->shownSize(), from + 3 * needle.size()));
        if (stop.stop_requested())
            return;
        QMetaObject::invokeMethod(
            this, [this, generation, match] { report(generation, match); }, Qt::QueuedConnection);
    });
}

void TextSearch::progress(unsigned generation, int percent)
{
    if (generation == generation_)
        Q_EMIT progressed(percent);
}

void TextSearch::report(unsigned generation, TextMatch match)
{
    if (generation != generation_)
        return;
    running_ = false;
    if (match.from >= 0)
        Q_EMIT found(match);
    else
        Q_EMIT notFound();
}

} // namespace kadrix
