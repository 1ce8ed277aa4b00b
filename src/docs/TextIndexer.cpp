#include "docs/TextIndexer.h"

#include "docs/LineIndex.h"
#include "docs/ViewerText.h"
#include "docs/WorkerPriority.h"

#include <vector>

namespace kadrix {

namespace {

// One pass over a file's shown bytes, piece by piece: line starts into the
// index, and the UTF-8 check. A character cut at the end of a piece is
// carried over to the next.
class IndexPass {
public:
    IndexPass(const TextFile& file, LineIndex& index)
        : file_(file)
        , index_(index)
    {}

    // Reads the next piece of up to `size` bytes; false at the end.
    bool next(qint64 size)
    {
        const qint64 start = offset_;
        const qint64 end = qMin(start + size, file_.shownSize());
        file_.read(start, end, piece_);
        const QByteArray& piece = piece_;
        starts_.clear();
        scanner_.scan(piece.constData(), piece.size(), offset_, starts_);
        checkUtf8(piece, end == file_.shownSize());
        offset_ += piece.size();
        // A read error ends the text where it happened.
        const bool more = piece.size() == end - start && offset_ < file_.shownSize();
        if (!more)
            scanner_.finish(file_.shownSize(), starts_);
        index_.append(starts_);
        return more;
    }

    bool utf8() const { return utf8_; }

private:
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
    LineScanner scanner_;
    std::vector<qint64> starts_;
    QByteArray piece_;
    QByteArray carry_;
    qint64 offset_ = 0;
    bool utf8_ = true;
};

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

void TextIndexer::start(std::shared_ptr<TextFile> file)
{
    stop();
    index_ = std::make_shared<LineIndex>();
    index_->append({0});
    auto pass = std::make_shared<IndexPass>(*file, *index_);
    const bool more = pass->next(kFirstPiece);
    if (!pass->utf8())
        file->markLegacy();
    legacy_ = !pass->utf8();
    complete_ = !more;
    if (!more)
        return;

    const unsigned generation = generation_;
    worker_ = std::jthread([this, generation, file, pass, index = index_](std::stop_token stop) {
        yieldToTheUserInterface();
        bool more = true;
        while (more && !stop.stop_requested()) {
            more = pass->next(kPiece);
            if (!pass->utf8())
                file->markLegacy();
            QMetaObject::invokeMethod(
                this,
                [this, generation, more, legacy = !pass->utf8()] {
                    report(generation, !more, legacy);
                },
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
