#include "docs/TextIndexer.h"

#include "docs/LineIndex.h"
#include "docs/ViewerText.h"

#include <chrono>
#include <vector>

namespace kadrix {

namespace {

// Small enough to stay in the processor's cache between the read and the count.
constexpr qint64 kRead = 256 * 1024;
constexpr std::chrono::milliseconds kReportEvery{15};

// One pass over a file's shown bytes, piece by piece: line ends into the
// index, and the UTF-8 check. A character cut at the end of a piece is
// carried over to the next.
class IndexPass {
public:
    IndexPass(const TextFile& file, LineIndex& index)
        : file_(file)
        , index_(index)
    {}

    // Counts up to `size` more bytes into the index; false at the end.
    bool next(qint64 size)
    {
        const qint64 shown = file_.shownSize();
        const qint64 stop = qMin(offset_ + size, shown);
        checkpoints_.clear();
        bool failed = false;
        while (offset_ < stop && !failed) {
            const qint64 to = qMin(offset_ + kRead, stop);
            // One byte more: a CR at the end may be the first half of CR LF.
            file_.read(offset_, to + 1, piece_);
            const qint64 counted = qMin<qint64>(piece_.size(), to - offset_);
            const int following = piece_.size() > counted ? byteAt(counted) : -1;
            // A read error ends the text where it happened.
            failed = piece_.size() < qMin(to + 1, shown) - offset_;
            // A piece of ASCII alone needs no UTF-8 check, but ends one cut before.
            const bool ascii = count(counted, following);
            if (!ascii || !carry_.isEmpty())
                checkUtf8(QByteArrayView(piece_).first(counted),
                          failed || offset_ + counted == shown);
            offset_ += counted;
        }
        const bool complete = failed || offset_ >= shown;
        index_.extend(checkpoints_, {offset_, ends_, complete});
        return !complete;
    }

    bool utf8() const { return utf8_; }

private:
    int byteAt(qint64 at) const { return static_cast<unsigned char>(piece_.at(at)); }

    // Counts the line ends of the piece's first `size` bytes, a checkpoint
    // at each multiple of the checkpoint distance; true if all are ASCII.
    bool count(qint64 size, int following)
    {
        const qint64 step = index_.checkpoint();
        bool ascii = true;
        for (qint64 at = 0; at < size;) {
            const qint64 next = qMin(size, ((offset_ + at) / step + 1) * step - offset_);
            bool chunkAscii = true;
            ends_ += lineends::count(piece_.constData() + at, next - at,
                                     next < size ? byteAt(next) : following, &chunkAscii);
            ascii = ascii && chunkAscii;
            at = next;
            if ((offset_ + at) % step == 0)
                checkpoints_.push_back(ends_);
        }
        return ascii;
    }

    // Checks a piece, with the start of a character the last one cut.
    void checkUtf8(QByteArrayView piece, bool last)
    {
        if (!utf8_)
            return;
        if (!carry_.isEmpty()) {
            const auto lead = static_cast<unsigned char>(carry_.front());
            const qsizetype missing = (lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2) - carry_.size();
            if (missing > piece.size()) {
                carry_.append(piece);
                return;
            }
            utf8_ = carry_.append(piece.first(missing)).isValidUtf8();
            piece = piece.sliced(missing);
            carry_.clear();
        }
        // A character cut off by the dropped last byte is no fault.
        const qsizetype whole = wholeUtf8Prefix(piece);
        utf8_ = utf8_ && piece.first(whole).isValidUtf8();
        if (!last)
            carry_ = piece.sliced(whole).toByteArray();
    }

    const TextFile& file_;
    LineIndex& index_;
    std::vector<qint64> checkpoints_;
    QByteArray piece_;
    QByteArray carry_;
    qint64 offset_ = 0;
    qint64 ends_ = 0;
    bool utf8_ = true;
};

// The checkpoint distance as a power of two, as the index needs it.
qint64 checkpointDistance(qint64 wanted)
{
    qint64 distance = 1;
    while (distance < wanted && distance < (qint64(1) << 30))
        distance *= 2;
    return distance;
}

} // namespace

TextIndexer::TextIndexer(QObject* parent)
    : QObject(parent)
{}

TextIndexer::~TextIndexer()
{
    stop();
}

void TextIndexer::stop()
{
    ++generation_;
    if (worker_.joinable()) {
        worker_.request_stop();
        worker_.join();
    }
    index_.reset();
    complete_ = false;
    legacy_ = false;
}

void TextIndexer::start(std::shared_ptr<TextFile> file, const TextPieces& pieces)
{
    stop();
    index_ = std::make_shared<LineIndex>(checkpointDistance(pieces.checkpoint), file->shownSize());
    auto pass = std::make_shared<IndexPass>(*file, *index_);
    const bool more = pass->next(qMax<qint64>(1, pieces.firstIndexed));
    if (!pass->utf8())
        file->markLegacy();
    legacy_ = !pass->utf8();
    complete_ = !more;
    if (!more)
        return;

    const unsigned generation = generation_;
    const qint64 piece = qMax<qint64>(1, pieces.indexed);
    worker_ =
        std::jthread([this, generation, file, pass, piece, index = index_](std::stop_token stop) {
            // The worker keeps the usual priority: it goes at the speed of reading
            // the file, a tenth of a second a gigabyte, and the user waits for it.
            bool more = true;
            bool legacy = false;
            auto told = std::chrono::steady_clock::now();
            while (more && !stop.stop_requested()) {
                more = pass->next(piece);
                if (!pass->utf8())
                    file->markLegacy();
                // The window is told about as often as it can draw, and at the end.
                const auto now = std::chrono::steady_clock::now();
                if (more && now - told < kReportEvery && legacy == !pass->utf8())
                    continue;
                told = now;
                legacy = !pass->utf8();
                QMetaObject::invokeMethod(
                    this, [this, generation, more, legacy] { report(generation, !more, legacy); },
                    Qt::QueuedConnection);
            }
        });
}

void TextIndexer::report(unsigned generation, bool complete, bool legacy)
{
    if (generation != generation_)
        return;
    complete_ = complete;
    if (legacy && !legacy_) {
        legacy_ = true;
        Q_EMIT encodingChanged();
    }
    Q_EMIT grown(complete);
}

} // namespace kadrix
