// BigTextView's screen: the rows it shows, how they are drawn, and how keys,
// the mouse and the scroll bar move them.

#include "docs/BigTextView.h"
#include "docs/FindBar.h"
#include "docs/TextLines.h"
#include "docs/ViewerText.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace kadrix {

namespace {

// Blank space around the text, as a plain-text box leaves.
constexpr int kMargin = 4;

} // namespace

int BigTextView::rowHeight() const
{
    return qMax(1, fontMetrics().lineSpacing());
}

double BigTextView::characterWidth() const
{
    return qMax(1.0, QFontMetricsF(font()).horizontalAdvance(QLatin1Char('M')));
}

int BigTextView::columns() const
{
    return qMax(1, int((viewport()->width() - 2 * kMargin) / characterWidth()));
}

int BigTextView::rowsOnScreen() const
{
    return qMax(1, viewport()->height() / rowHeight());
}

std::vector<TextRow> BigTextView::screenRows() const
{
    if (!hasText())
        return {};
    return layout_.rowsFrom(top_, (viewport()->height() + rowHeight() - 1) / rowHeight());
}

TextRow BigTextView::lastTop() const
{
    return layout_.lastTop(rowsOnScreen());
}

void BigTextView::relayout()
{
    followChange();
    layout_.setColumns(columns());
    if (hasText())
        top_ = layout_.holding(top_.start);
    updateScrollRange();
    showRow(top_);
}

int BigTextView::barValue(qint64 offset) const
{
    return int(offset >> barShift_);
}

void BigTextView::updateScrollRange()
{
    const std::vector<TextRow> rows = screenRows();
    const qint64 shown = rows.empty() ? 1 : rows.back().end - top_.start;
    const int page = qMax(1, barValue(shown));
    movingScrollBar_ = true;
    verticalScrollBar()->setRange(0, hasText() ? barValue(lastTop().start) : 0);
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setSingleStep(qMax(1, page / rowsOnScreen()));
    movingScrollBar_ = false;
}

void BigTextView::showRow(TextRow row)
{
    if (hasText()) {
        const TextRow last = lastTop();
        top_ = row.start > last.start ? last : row;
    }
    movingScrollBar_ = true;
    verticalScrollBar()->setValue(barValue(top_.start));
    movingScrollBar_ = false;
    viewport()->update();
}

void BigTextView::scrollRows(qint64 rows)
{
    if (hasText())
        showRow(layout_.moved(top_, rows));
}

// Dragging the slider shows the row that holds the byte it points at.
void BigTextView::scrollContentsBy(int, int)
{
    const int value = verticalScrollBar()->value();
    if (movingScrollBar_)
        return;
    // A file read afresh has a new range: the bar is set to the row found.
    const bool reread = followChange();
    if (!hasText() || (!reread && value == barValue(top_.start)))
        return;
    const TextRow last = lastTop();
    const TextRow row = layout_.holding(qint64(value) << barShift_);
    top_ = value >= verticalScrollBar()->maximum() || row.start > last.start ? last : row;
    pendingTop_ = -1;
    if (reread)
        showRow(top_);
    viewport()->update();
}

// The bar's arrows, the page clicks beside the slider and the wheel move
// whole rows, as the keys do.
void BigTextView::scrollBarAction(int action)
{
    followChange();
    QScrollBar* bar = verticalScrollBar();
    const qint64 page = qMax(1, rowsOnScreen() - 1);
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        return scrollRows(1);
    case QAbstractSlider::SliderSingleStepSub:
        return scrollRows(-1);
    case QAbstractSlider::SliderPageStepAdd:
        return scrollRows(page);
    case QAbstractSlider::SliderPageStepSub:
        return scrollRows(-page);
    case QAbstractSlider::SliderMove:
        if (!bar->isSliderDown()) {
            const double steps = double(bar->sliderPosition() - bar->value()) / bar->singleStep();
            scrollRows(qint64(std::lround(steps)));
            bar->setSliderPosition(bar->value());
        }
        return;
    default:
        return;
    }
}

void BigTextView::paintRow(QPainter& painter, const TextRow& row, int y) const
{
    const QByteArray bytes = layout_.bytes(row);
    const TextEncoding encoding = file_->encoding();
    const QString line = decodeViewerText(bytes, encoding);
    const QString text = textrows::rowText(line, 0, line.size());
    const QPointF baseline(kMargin, y + fontMetrics().ascent());
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(baseline, text);

    // The selected part of the row, drawn again over the highlight; a
    // selected line end shows as one blank.
    const qint64 from = std::min(anchor_, caret_);
    const qint64 to = std::max(anchor_, caret_);
    const qint64 first = std::max(row.start, from);
    const qint64 last = std::min(row.end, to);
    const bool toLineEnd = row.endsLine && from <= row.end && to > row.end;
    if (from == to || last < first || (last == first && !toLineEnd))
        return;
    const auto columnAt = [&](qint64 offset) {
        const QString before =
            decodeViewerText(QByteArrayView(bytes).first(offset - row.start), encoding);
        return textrows::columnOf(line, 0, before.size());
    };
    const double width = characterWidth();
    const double left = kMargin + columnAt(first) * width;
    const double right = kMargin + (columnAt(last) + (toLineEnd ? 1 : 0)) * width;
    const QRectF area(left, y, right - left, rowHeight());
    painter.fillRect(area, palette().color(QPalette::Highlight));
    painter.save();
    painter.setClipRect(area);
    painter.setPen(palette().color(QPalette::HighlightedText));
    painter.drawText(baseline, text);
    painter.restore();
}

void BigTextView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    const std::vector<TextRow> rows = screenRows();
    for (size_t i = 0; i < rows.size(); ++i)
        paintRow(painter, rows[i], int(i) * rowHeight());
    const qint64 wanted = (viewport()->height() + rowHeight() - 1) / rowHeight();
    const bool ended = lines_ && lines_->state().complete;
    shownFull_ = shownFull_ || qint64(rows.size()) >= wanted ||
                 (ended && (rows.empty() || !layout_.next(rows.back())));
}

void BigTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    const QRect area = contentsRect();
    const int barHeight = findBar_->sizeHint().height();
    const int scrollBarWidth = verticalScrollBar()->isVisible() ? verticalScrollBar()->width() : 0;
    findBar_->setGeometry(area.left(), area.bottom() + 1 - barHeight, area.width() - scrollBarWidth,
                          barHeight);
    relayout();
}

void BigTextView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        relayout();
}

void BigTextView::keyPressEvent(QKeyEvent* event)
{
    followChange();
    // Home and End go where they say, also in a file read afresh just now.
    if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End)
        pendingTop_ = -1;
    const int page = qMax(1, rowsOnScreen() - 1);
    if (event->matches(QKeySequence::Copy))
        copy();
    else if (event->matches(QKeySequence::SelectAll))
        selectAll();
    else if (event->key() == Qt::Key_Up)
        scrollRows(-1);
    else if (event->key() == Qt::Key_Down)
        scrollRows(1);
    else if (event->key() == Qt::Key_PageUp)
        scrollRows(-page);
    else if (event->key() == Qt::Key_PageDown)
        scrollRows(page);
    else if (event->key() == Qt::Key_Home && hasText())
        showRow(layout_.first());
    else if (event->key() == Qt::Key_End && hasText())
        showRow(lastTop());
    else
        QAbstractScrollArea::keyPressEvent(event);
}

qint64 BigTextView::placeAt(QPoint point) const
{
    const std::vector<TextRow> rows = screenRows();
    if (rows.empty())
        return 0;
    if (point.y() < 0)
        return rows.front().start;
    const size_t index = size_t(point.y() / rowHeight());
    if (index >= rows.size())
        return rows.back().end;
    const TextRow& row = rows[index];
    const QByteArray bytes = layout_.bytes(row);
    const QString line = decodeViewerText(bytes, file_->encoding());
    const double column = (point.x() - kMargin) / characterWidth();
    const qsizetype position = textrows::positionAt(line, 0, line.size(), column);
    return row.start + bytesOfUnits(bytes, file_->encoding(), position);
}

void BigTextView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    followChange();
    const qint64 place = placeAt(event->position().toPoint());
    select(event->modifiers() & Qt::ShiftModifier ? anchor_ : place, place);
}

void BigTextView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint point = event->position().toPoint();
    if (point.y() < 0)
        scrollRows(-1);
    else if (point.y() >= viewport()->height())
        scrollRows(1);
    select(anchor_, placeAt(point));
}

void BigTextView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copyItem = menu.addAction(QStringLiteral("&Copy"), this, &BigTextView::copy);
    copyItem->setEnabled(anchor_ != caret_);
    menu.addAction(QStringLiteral("Select &All"), this, &BigTextView::selectAll);
    menu.exec(event->globalPos());
}

} // namespace kadrix
