#pragma once

#include "docs/TextLayout.h"
#include "docs/TextPieces.h"
#include "docs/TextSearch.h"

#include <QAbstractScrollArea>

#include <memory>
#include <vector>

class QLineEdit;

namespace kadrix {

class FindBar;
class TextFile;
class TextIndexer;
class TextLines;

// A read-only, fixed-pitch view of a text file of any size. Only the rows
// on the screen are read, through a line index that a worker thread builds;
// the first screen shows as soon as the first piece of the file is indexed.
// Long lines wrap at the box's width, and every row of them can be reached.
// The text can be selected with the mouse and copied, and Ctrl+F looks for
// a text on a worker thread, anew with each key typed.
//
// Places in the text are byte offsets in the file: the top row's start, the
// ends of the selection and of a match found. A file that another program
// makes shorter or longer while it is shown is read afresh at the next key,
// click, scroll, resize or search, or when the line index finds it shorter.
class BigTextView final : public QAbstractScrollArea {
    Q_OBJECT

public:
    // The largest selection that is copied: a bigger one would hold the
    // program for many seconds and take more memory than the file.
    static constexpr qint64 kLargestCopy = 64 * 1024 * 1024;

    explicit BigTextView(QWidget* parent = nullptr);
    ~BigTextView() override;
    Q_DISABLE_COPY_MOVE(BigTextView)

    // How the next file is cut into pieces.
    void setPieces(const TextPieces& pieces);
    // Shows `file`. The same file, unchanged, keeps the place and the selection.
    void setFile(std::shared_ptr<TextFile> file);
    // Lines known so far; all of them once the index is complete.
    qint64 lineCount() const;
    bool isIndexing() const;
    // The memory the line index takes.
    qint64 indexBytes() const;
    QString lineText(qint64 line) const;
    // The whole text, read at once.
    QString toPlainText() const;
    qint64 firstVisibleLine() const;
    qint64 lastVisibleLine() const;
    // The rows on the screen as they are drawn.
    QStringList visibleRows() const;
    void scrollToLine(qint64 line);
    // A screen was drawn with all the text it has room for.
    bool showsFirstScreen() const { return shownFull_; }

    QString selectedText() const;
    void selectAll();
    void copy() const;
    // Looks for `text` from the start of the selection, or from the top of
    // the screen; the match found becomes the selection and is shown.
    void find(const QString& text);
    // Looks for the find field's text after the selection.
    void findNext();
    bool isSearching() const;
    QLineEdit* findField() const;
    QString findStatus() const;

Q_SIGNALS:
    void indexed();
    void searchEnded(bool found);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool hasText() const;
    // Reads the file afresh when another program has changed it since,
    // keeping the place as far as the file still reaches; true if it did.
    bool followChange();
    void indexGrown(bool complete);
    void searchFound(TextMatch match);
    void startSearch(const QString& text, qint64 from);

    // The rows from the top that the screen has room for, the last maybe in part.
    std::vector<TextRow> screenRows() const;
    TextRow lastTop() const;
    // The columns or the encoding have changed: the top row is laid out anew.
    void relayout();
    void updateScrollRange();
    int barValue(qint64 offset) const;
    void scrollBarAction(int action);
    void scrollRows(qint64 rows);
    void showRow(TextRow row);
    qint64 placeAt(QPoint point) const;
    void select(qint64 anchor, qint64 caret);
    void paintRow(QPainter& painter, const TextRow& row, int y) const;

    int columns() const;
    int rowsOnScreen() const;
    int rowHeight() const;
    double characterWidth() const;

    std::shared_ptr<TextFile> file_;
    std::unique_ptr<TextLines> lines_;
    TextLayout layout_;
    TextPieces pieces_;
    TextIndexer* indexer_ = nullptr;
    FindBar* findBar_ = nullptr;
    TextRow top_;
    qint64 anchor_ = 0;
    qint64 caret_ = 0;
    TextMatch pendingMatch_; // found beyond the text indexed so far
    qint64 pendingTop_ = -1; // the top row's place in a file read afresh, not indexed yet
    int barShift_ = 0;       // the scroll bar counts bytes, shifted to fit
    bool movingScrollBar_ = false;
    bool shownFull_ = false;
};

} // namespace kadrix
