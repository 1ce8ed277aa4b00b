#include "docs/BigTextView.h"

#include "docs/FindBar.h"
#include "docs/TextIndexer.h"
#include "docs/TextLines.h"
#include "docs/ViewerText.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QScrollBar>
#include <QShortcut>

#include <algorithm>
#include <utility>

namespace kadrix {

BigTextView::BigTextView(QWidget* parent)
    : QAbstractScrollArea(parent)
    , indexer_(new TextIndexer(this))
    , findBar_(new FindBar(this))
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setCursor(Qt::IBeamCursor);
    connect(indexer_, &TextIndexer::grown, this, &BigTextView::indexGrown);
    connect(indexer_, &TextIndexer::encodingChanged, this, &BigTextView::relayout);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &BigTextView::scrollBarAction);

    connect(findBar_, &FindBar::shownOrHidden, this, [this] {
        setViewportMargins(0, 0, 0, findBar_->isVisible() ? findBar_->sizeHint().height() : 0);
    });
    connect(findBar_->field(), &QLineEdit::textEdited, this, &BigTextView::find);
    connect(findBar_->field(), &QLineEdit::returnPressed, this, &BigTextView::findNext);
    connect(findBar_, &FindBar::found, this, &BigTextView::searchFound);
    connect(findBar_, &FindBar::notFound, this, [this] { Q_EMIT searchEnded(false); });
    auto* next = new QShortcut(QKeySequence::FindNext, this, nullptr, nullptr,
                               Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this, &BigTextView::findNext);
}

BigTextView::~BigTextView()
{
    // The layout reads the lines until the end.
    layout_.setText(nullptr, pieces_.rowAnchor);
}

void BigTextView::setPieces(const TextPieces& pieces)
{
    pieces_ = pieces;
    findBar_->setPieceSize(pieces.searched);
}

void BigTextView::setFile(std::shared_ptr<TextFile> file)
{
    if (file_ && file && file_->sameAs(*file))
        return;
    findBar_->stop();
    pendingMatch_ = {};
    pendingTop_ = -1;
    layout_.setText(nullptr, pieces_.rowAnchor);
    lines_.reset();
    file_ = std::move(file);
    anchor_ = caret_ = 0;
    shownFull_ = false;
    barShift_ = 0;
    if (file_) {
        indexer_->start(file_, pieces_);
        lines_ = std::make_unique<TextLines>(file_, indexer_->index());
        layout_.setText(lines_.get(), pieces_.rowAnchor);
        while ((file_->shownSize() >> barShift_) > INT_MAX)
            ++barShift_;
    } else {
        indexer_->stop();
    }
    layout_.setColumns(columns());
    top_ = hasText() ? layout_.first() : TextRow{};
    updateScrollRange();
    showRow(top_);
    if (file_ && indexer_->isComplete())
        Q_EMIT indexed();
}

bool BigTextView::hasText() const
{
    return lines_ && layout_.hasRows();
}

bool BigTextView::followChange()
{
    if (!file_ || !file_->hasChanged())
        return false;
    std::shared_ptr<TextFile> now = file_->reopened();
    if (!now)
        return false;
    const qint64 place = top_.start;
    setFile(std::move(now));
    if (hasText())
        showRow(layout_.holding(place));
    // A place the index has not reached yet is shown once it has.
    if (hasText() && place > lines_->state().scanned)
        pendingTop_ = place;
    return true;
}

qint64 BigTextView::lineCount() const
{
    return lines_ ? lines_->count() : 0;
}

bool BigTextView::isIndexing() const
{
    return file_ && !indexer_->isComplete();
}

qint64 BigTextView::indexBytes() const
{
    return lines_ ? lines_->indexBytes() : 0;
}

QString BigTextView::lineText(qint64 line) const
{
    if (line < 0 || line >= lineCount())
        return {};
    return decodeViewerText(file_->read(lines_->start(line), lines_->contentEnd(line)),
                            file_->encoding());
}

QString BigTextView::toPlainText() const
{
    return file_ ? decodeViewerText(file_->read(0, file_->shownSize()), file_->encoding())
                 : QString();
}

qint64 BigTextView::firstVisibleLine() const
{
    return hasText() ? top_.line : 0;
}

qint64 BigTextView::lastVisibleLine() const
{
    const std::vector<TextRow> rows = screenRows();
    return rows.empty() ? 0 : rows.back().line;
}

QStringList BigTextView::visibleRows() const
{
    QStringList texts;
    for (const TextRow& row : screenRows()) {
        const QString text = decodeViewerText(layout_.bytes(row), file_->encoding());
        texts += textrows::rowText(text, 0, text.size());
    }
    return texts;
}

void BigTextView::scrollToLine(qint64 line)
{
    if (hasText())
        showRow(layout_.holding(lines_->start(qBound<qint64>(0, line, lineCount() - 1))));
}

void BigTextView::indexGrown(bool complete)
{
    // An index that ends before the file does met a read that came back short.
    if (complete && lines_->state().scanned < file_->shownSize() && followChange())
        return;
    updateScrollRange();
    if (pendingTop_ >= 0 && (complete || pendingTop_ <= lines_->state().scanned))
        showRow(layout_.holding(std::exchange(pendingTop_, -1)));
    if (pendingMatch_.from >= 0 && pendingMatch_.to <= lines_->state().scanned)
        searchFound(std::exchange(pendingMatch_, {}));
    if (!shownFull_)
        viewport()->update();
    if (complete)
        Q_EMIT indexed();
}

void BigTextView::select(qint64 anchor, qint64 caret)
{
    anchor_ = anchor;
    caret_ = caret;
    viewport()->update();
}

QString BigTextView::selectedText() const
{
    if (!file_ || anchor_ == caret_)
        return {};
    return decodeViewerText(file_->read(std::min(anchor_, caret_), std::max(anchor_, caret_)),
                            file_->encoding());
}

void BigTextView::selectAll()
{
    if (hasText())
        select(0, lines_->state().scanned);
}

void BigTextView::copy() const
{
    if (anchor_ == caret_ || !file_)
        return;
    if (std::max(anchor_, caret_) - std::min(anchor_, caret_) > kLargestCopy) {
        QApplication::beep();
        return;
    }
    QGuiApplication::clipboard()->setText(selectedText());
}

void BigTextView::find(const QString& text)
{
    startSearch(text, anchor_ != caret_ ? std::min(anchor_, caret_) : top_.start);
}

void BigTextView::findNext()
{
    startSearch(findBar_->field()->text(),
                anchor_ != caret_ ? std::max(anchor_, caret_) : top_.start);
}

void BigTextView::startSearch(const QString& text, qint64 from)
{
    followChange();
    pendingMatch_ = {};
    findBar_->start(hasText() ? file_ : nullptr, text, from);
}

void BigTextView::searchFound(TextMatch match)
{
    // A match beyond the text indexed so far is shown once the index has reached it.
    if (match.to > lines_->state().scanned) {
        pendingMatch_ = match;
        return;
    }
    select(match.from, match.to);
    pendingTop_ = -1;
    const std::vector<TextRow> rows = screenRows();
    const bool onScreen =
        std::any_of(rows.begin(), rows.end() - qMin<qsizetype>(1, qsizetype(rows.size())),
                    [&](const TextRow& row) {
                        return row.start <= match.from && (match.from < row.next || row.next < 0);
                    });
    if (!onScreen)
        showRow(layout_.moved(layout_.holding(match.from), -(rowsOnScreen() / 3)));
    Q_EMIT searchEnded(true);
}

bool BigTextView::isSearching() const
{
    return findBar_->isSearching();
}

QLineEdit* BigTextView::findField() const
{
    return findBar_->field();
}

QString BigTextView::findStatus() const
{
    return findBar_->status();
}

} // namespace kadrix
