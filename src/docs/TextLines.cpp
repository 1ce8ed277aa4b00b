#include "docs/TextLines.h"

#include "docs/ViewerText.h"

namespace kadrix {

TextLines::TextLines(std::shared_ptr<TextFile> file, std::shared_ptr<LineIndex> index)
    : file_(std::move(file))
    , index_(std::move(index))
{}

qint64 TextLines::count() const
{
    const LineIndex::State known = state();
    return known.complete ? known.ends + 1 : known.ends;
}

int TextLines::read(qint64 from, qint64 to) const
{
    file_->read(from, to + 1, scratch_);
    scratchSize_ = qMin<qint64>(scratch_.size(), qMax<qint64>(to - from, 0));
    return scratch_.size() > scratchSize_ ? static_cast<unsigned char>(scratch_.at(scratchSize_))
                                          : -1;
}

qint64 TextLines::start(qint64 line) const
{
    if (line <= 0)
        return 0;
    const LineIndex::State known = state();
    const qint64 step = index_->checkpoint();
    const qint64 checkpoint = index_->lastCheckpointBelow(line);
    const qint64 from = checkpoint * step;
    const qint64 to = qMin(from + step, known.scanned);
    const int following = read(from, to);
    const qint64 end = lineends::find(scratch_.constData(), scratchSize_, following,
                                      line - index_->endsBefore(checkpoint));
    // Not there: the file has changed under the viewer.
    return end < 0 ? to : from + end + 1;
}

qint64 TextLines::contentEnd(qint64 line) const
{
    const LineIndex::State known = state();
    if (line >= known.ends)
        return known.scanned;
    const qint64 next = start(line + 1);
    const qint64 from = qMax<qint64>(start(line), next - 2);
    read(from, next);
    const QByteArrayView end(scratch_.constData(), scratchSize_);
    return from + (end.endsWith("\r\n") ? end.size() - 2 : qMax<qint64>(end.size() - 1, 0));
}

qint64 TextLines::lineAt(qint64 offset) const
{
    const LineIndex::State known = state();
    offset = qBound<qint64>(0, offset, known.scanned);
    const qint64 checkpoint = offset / index_->checkpoint();
    const qint64 from = checkpoint * index_->checkpoint();
    const int following = read(from, offset);
    return index_->endsBefore(checkpoint) +
           lineends::count(scratch_.constData(), scratchSize_, following);
}

} // namespace kadrix
