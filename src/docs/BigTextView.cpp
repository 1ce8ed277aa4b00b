#include "docs/BigTextView.h"

#include "docs/LineIndex.h"
#include "docs/TextIndexer.h"
#include "docs/TextRows.h"
#include "docs/ViewerText.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>

#include <algorithm>
#include <limits>
#include <utility>

namespace kadrix {

namespace {

// Blank space around the text, as a plain-text box leaves.
constexpr int kMargin = 4;
constexpr qint64 kWholeLine = std::numeric_limits<qint64>::max();

} // namespace

BigTextView::BigTextView(QWidget* parent)
    : QAbstractScrollArea(parent)
    , indexer_(new TextIndexer(this))
    , search_(new TextSearch(this))
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setCursor(Qt::IBeamCursor);
    connect(indexer_, &TextIndexer::grown, this, &BigTextView::indexGrown);
    connect(indexer_, &TextIndexer::encodingChanged, viewport(), qOverload<>(&QWidget::update));
    connect(search_, &TextSearch::found, this, &BigTextView::searchFound);
    connect(search_, &TextSearch::notFound, this, &BigTextView::searchFailed);
    buildFindBar();
}

BigTextView::~BigTextView() = default;

void BigTextView::buildFindBar()
{
    findBar_ = new QWidget(this);
    findBar_->setObjectName(QStringLiteral("findBar"));
    findBar_->setAutoFillBackground(true);
    findBar_->setBackgroundRole(QPalette::Window);
    findBar_->setForegroundRole(QPalette::WindowText);
    auto* layout = new QHBoxLayout(findBar_);
    layout->setContentsMargins(4, 2, 4, 2);
    auto* label = new QLabel(QStringLiteral("Find:"), findBar_);
    findField_ = new QLineEdit(findBar_);
    findField_->setObjectName(QStringLiteral("findField"));
    findField_->setAccessibleName(QStringLiteral("Find"));
    label->setBuddy(findField_);
    findState_ = new QLabel(findBar_);
    layout->addWidget(label);
    layout->addWidget(findField_, 1);
    layout->addWidget(findState_, 1);
    findBar_->hide();

    connect(findField_, &QLineEdit::textEdited, this, &BigTextView::find);
    connect(findField_, &QLineEdit::returnPressed, this, &BigTextView::findNext);
    auto* open =
        new QShortcut(QKeySequence::Find, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(open, &QShortcut::activated, this, [this] {
        findBar_->show();
        setViewportMargins(0, 0, 0, findBar_->sizeHint().height());
        findField_->setFocus();
        findField_->selectAll();
    });
    auto* next = new QShortcut(QKeySequence::FindNext, this, nullptr, nullptr,
                               Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this, &BigTextView::findNext);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), findBar_, nullptr, nullptr,
                                Qt::WidgetWithChildrenShortcut);
    connect(close, &QShortcut::activated, this, [this] {
        search_->stop();
        findBar_->hide();
        setViewportMargins(0, 0, 0, 0);
        setFocus();
    });
}

void BigTextView::setFile(std::shared_ptr<TextFile> file)
{
    if (file_ && file && file_->sameAs(*file))
        return;
    search_->stop();
    findState_->clear();
    pendingMatch_ = {};
    file_ = std::move(file);
    anchor_ = caret_ = {};
    top_ = {};
    shownFull_ = false;
    if (file_)
        indexer_->start(file_);
    else
        indexer_->stop();
    updateScrollRange();
    showPlace({});
    if (file_ && indexer_->isComplete())
        Q_EMIT indexed();
}

qint64 BigTextView::lineCount() const
{
    if (!file_ || !indexer_->index())
        return 0;
    const qint64 known = indexer_->index()->count();
    return indexer_->isComplete() ? known : known - 1;
}

bool BigTextView::isIndexing() const
{
    return file_ && !indexer_->isComplete();
}

qint64 BigTextView::lineStart(qint64 line) const
{
    return indexer_->index()->at(line);
}

// Where the next line starts: the end of this one with its line end.
qint64 BigTextView::lineEnd(qint64 line) const
{
    const LineIndex& index = *indexer_->index();
    return line + 1 < index.count() ? index.at(line + 1) : file_->shownSize();
}

QString BigTextView::readLine(qint64 line, qint64 byteLimit) const
{
    const qint64 from = lineStart(line);
    const qint64 to = lineEnd(line);
    const bool cut = to - from > byteLimit;
    QByteArray bytes = file_->read(from, cut ? from + byteLimit : to);
    if (!cut && bytes.endsWith('\n'))
        bytes.chop(1);
    if (!cut && bytes.endsWith('\r'))
        bytes.chop(1);
    return decodeViewerText(bytes, file_->encoding());
}

QString BigTextView::lineText(qint64 line) const
{
    return line >= 0 && line < lineCount() ? readLine(line, kWholeLine) : QString();
}

QString BigTextView::toPlainText() const
{
    return file_ ? decodeViewerText(file_->read(0, file_->shownSize()), file_->encoding())
                 : QString();
}

std::vector<qsizetype> BigTextView::rowsOf(const QString& line) const
{
    return textrows::rowStarts(line, columns());
}

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

std::vector<BigTextView::Row> BigTextView::screenRows(std::vector<QString>& lines, bool* full) const
{
    std::vector<Row> rows;
    lines.clear();
    const size_t wanted = size_t(viewport()->height() + rowHeight() - 1) / size_t(rowHeight());
    // A line longer than the screen is read only as far as it is shown.
    const qint64 byteLimit = (top_.row + qint64(wanted) + 2) * columns() * 4 + 4096;
    const qint64 count = lineCount();
    qint64 line = top_.line;
    for (; line < count && rows.size() < wanted; ++line) {
        lines.push_back(readLine(line, byteLimit));
        const QString& text = lines.back();
        const std::vector<qsizetype> starts = rowsOf(text);
        const size_t first = line == top_.line ? qMin(size_t(top_.row), starts.size() - 1) : 0;
        for (size_t row = first; row < starts.size() && rows.size() < wanted; ++row)
            rows.push_back(
                {line, starts[row], row + 1 < starts.size() ? starts[row + 1] : text.size()});
    }
    if (full)
        *full = rows.size() >= wanted || (line >= count && !isIndexing());
    return rows;
}

BigTextView::RowPlace BigTextView::lastScreenTop() const
{
    const qint64 wanted = rowsOnScreen();
    const qint64 byteLimit = (wanted + 2) * columns() * 4 + 4096;
    qint64 rows = 0;
    for (qint64 line = lineCount() - 1; line >= 0; --line) {
        rows += qint64(rowsOf(readLine(line, byteLimit)).size());
        if (rows >= wanted)
            return {line, qsizetype(rows - wanted)};
    }
    return {};
}

void BigTextView::updateScrollRange()
{
    movingScrollBar_ = true;
    verticalScrollBar()->setRange(0, int(qMin<qint64>(lastScreenTop().line, INT_MAX)));
    verticalScrollBar()->setPageStep(rowsOnScreen());
    verticalScrollBar()->setSingleStep(1);
    movingScrollBar_ = false;
}

void BigTextView::showPlace(RowPlace place)
{
    const RowPlace last = lastScreenTop();
    if (place.line > last.line || (place.line == last.line && place.row > last.row))
        place = last;
    top_ = {qMax<qint64>(place.line, 0), qMax<qsizetype>(place.row, 0)};
    movingScrollBar_ = true;
    verticalScrollBar()->setValue(int(top_.line));
    movingScrollBar_ = false;
    viewport()->update();
}

void BigTextView::scrollToLine(qint64 line)
{
    showPlace({qBound<qint64>(0, line, qMax<qint64>(lineCount() - 1, 0)), 0});
}

void BigTextView::scrollContentsBy(int, int)
{
    if (movingScrollBar_)
        return;
    const qint64 value = verticalScrollBar()->value();
    const RowPlace last = lastScreenTop();
    top_ = value >= last.line ? last : RowPlace{value, 0};
    viewport()->update();
}

void BigTextView::scrollRows(qint64 rows)
{
    RowPlace place = top_;
    const qint64 byteLimit = (place.row + rowsOnScreen() + 2) * columns() * 4 + 4096;
    const auto rowCount = [&](qint64 line) {
        return qsizetype(rowsOf(readLine(line, byteLimit)).size());
    };
    for (; rows > 0; --rows) {
        if (place.row + 1 < rowCount(place.line))
            ++place.row;
        else if (place.line + 1 < lineCount())
            place = {place.line + 1, 0};
    }
    for (; rows < 0; ++rows) {
        if (place.row > 0)
            --place.row;
        else if (place.line > 0)
            place = {place.line - 1, rowCount(place.line - 1) - 1};
    }
    showPlace(place);
}

void BigTextView::indexGrown(bool complete)
{
    updateScrollRange();
    if (pendingMatch_.line >= 0 && pendingMatch_.line < lineCount())
        searchFound(std::exchange(pendingMatch_, {}));
    if (!shownFull_)
        viewport()->update();
    if (complete)
        Q_EMIT indexed();
}

void BigTextView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    if (!file_)
        return;
    std::vector<QString> lines;
    bool full = false;
    const std::vector<Row> rows = screenRows(lines, &full);
    const double width = characterWidth();
    const int height = rowHeight();
    const int ascent = fontMetrics().ascent();
    const TextPlace from = std::min(anchor_, caret_);
    const TextPlace to = std::max(anchor_, caret_);
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const QString& line = lines[size_t(row.line - top_.line)];
        const QString text = textrows::rowText(line, row.first, row.last);
        const int y = int(i) * height;
        const QPointF baseline(kMargin, y + ascent);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(baseline, text);
        if (from == to || row.line < from.line || row.line > to.line)
            continue;
        // The selected part of the row, drawn again over the highlight; a
        // selected line end shows as one blank.
        const qsizetype first = qMax(row.first, row.line == from.line ? from.column : 0);
        const bool toLineEnd = row.line != to.line && row.last == line.size();
        const qsizetype last = qMin(row.last, row.line == to.line ? to.column : row.last);
        if (last < first || (last == first && !toLineEnd))
            continue;
        const double left = kMargin + textrows::columnOf(line, row.first, first) * width;
        const double right =
            kMargin + (textrows::columnOf(line, row.first, last) + (toLineEnd ? 1 : 0)) * width;
        const QRectF area(left, y, right - left, height);
        painter.fillRect(area, palette().color(QPalette::Highlight));
        painter.save();
        painter.setClipRect(area);
        painter.setPen(palette().color(QPalette::HighlightedText));
        painter.drawText(baseline, text);
        painter.restore();
    }
    shownFull_ = shownFull_ || full;
}

void BigTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    const QRect area = contentsRect();
    const int barHeight = findBar_->sizeHint().height();
    const int scrollBarWidth = verticalScrollBar()->isVisible() ? verticalScrollBar()->width() : 0;
    findBar_->setGeometry(area.left(), area.bottom() + 1 - barHeight, area.width() - scrollBarWidth,
                          barHeight);
    updateScrollRange();
    showPlace(top_);
}

void BigTextView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateScrollRange();
        showPlace(top_);
    }
}

void BigTextView::keyPressEvent(QKeyEvent* event)
{
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
    else if (event->key() == Qt::Key_Home)
        showPlace({});
    else if (event->key() == Qt::Key_End)
        showPlace(lastScreenTop());
    else
        QAbstractScrollArea::keyPressEvent(event);
}

TextPlace BigTextView::placeAt(QPoint point) const
{
    std::vector<QString> lines;
    const std::vector<Row> rows = screenRows(lines, nullptr);
    if (rows.empty())
        return {};
    if (point.y() < 0)
        return {rows.front().line, rows.front().first};
    const size_t index = size_t(point.y() / rowHeight());
    if (index >= rows.size())
        return {rows.back().line, rows.back().last};
    const Row& row = rows[index];
    const QString& line = lines[size_t(row.line - top_.line)];
    const double column = (point.x() - kMargin) / characterWidth();
    return {row.line, textrows::positionAt(line, row.first, row.last, column)};
}

void BigTextView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    const TextPlace place = placeAt(event->position().toPoint());
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

void BigTextView::select(TextPlace anchor, TextPlace caret)
{
    anchor_ = anchor;
    caret_ = caret;
    viewport()->update();
}

QString BigTextView::selectedText() const
{
    const TextPlace from = std::min(anchor_, caret_);
    const TextPlace to = std::max(anchor_, caret_);
    QStringList parts;
    for (qint64 line = from.line; line <= to.line && from != to; ++line) {
        const QString text = lineText(line);
        const qsizetype first = line == from.line ? from.column : 0;
        const qsizetype last = line == to.line ? to.column : text.size();
        parts += text.mid(first, last - first);
    }
    return parts.join(QLatin1Char('\n'));
}

void BigTextView::selectAll()
{
    const qint64 last = lineCount() - 1;
    if (last >= 0)
        select({}, {last, lineText(last).size()});
}

void BigTextView::copy() const
{
    const TextPlace from = std::min(anchor_, caret_);
    const TextPlace to = std::max(anchor_, caret_);
    if (from == to || !file_)
        return;
    if (lineEnd(to.line) - lineStart(from.line) > kLargestCopy) {
        QApplication::beep();
        return;
    }
    QGuiApplication::clipboard()->setText(selectedText());
}

void BigTextView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copyItem = menu.addAction(QStringLiteral("&Copy"), this, &BigTextView::copy);
    copyItem->setEnabled(anchor_ != caret_);
    menu.addAction(QStringLiteral("Select &All"), this, &BigTextView::selectAll);
    menu.exec(event->globalPos());
}

void BigTextView::find(const QString& text)
{
    const bool selection = anchor_ != caret_;
    startSearch(text, selection ? std::min(anchor_, caret_) : TextPlace{top_.line, 0});
}

void BigTextView::findNext()
{
    const bool selection = anchor_ != caret_;
    startSearch(findField_->text(),
                selection ? std::max(anchor_, caret_) : TextPlace{top_.line, 0});
}

void BigTextView::startSearch(const QString& text, TextPlace from)
{
    pendingMatch_ = {};
    if (text.isEmpty() || !file_ || lineCount() == 0) {
        search_->stop();
        findState_->clear();
        return;
    }
    findState_->setText(QStringLiteral("Searching..."));
    const qint64 line = qMin(from.line, lineCount() - 1);
    search_->start(file_, text, line, lineStart(line), lineEnd(line), from.column);
}

void BigTextView::searchFound(TextMatch match)
{
    // A line the index has not reached yet is shown once it has.
    if (match.line >= lineCount()) {
        pendingMatch_ = match;
        return;
    }
    findState_->clear();
    select({match.line, match.column}, {match.line, match.column + match.length});
    std::vector<QString> lines;
    const std::vector<Row> rows = screenRows(lines, nullptr);
    const bool onScreen =
        std::any_of(rows.begin(), rows.end() - qMin<qsizetype>(1, qsizetype(rows.size())),
                    [&](const Row& row) { return row.line == match.line; });
    if (!onScreen)
        scrollToLine(match.line - rowsOnScreen() / 3);
    Q_EMIT searchEnded(true);
}

void BigTextView::searchFailed()
{
    findState_->setText(QStringLiteral("Not found"));
    Q_EMIT searchEnded(false);
}

QString BigTextView::findStatus() const
{
    return findState_->text();
}

} // namespace kadrix
