#pragma once

#include "docs/TextSearch.h"

#include <QAbstractScrollArea>

#include <compare>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;

namespace kadrix {

class LineIndex;
class TextFile;
class TextIndexer;

// A place in the text: a line and a character in it.
struct TextPlace {
    qint64 line = 0;
    qsizetype column = 0;
    auto operator<=>(const TextPlace&) const = default;
};

// A read-only, fixed-pitch view of a text file of any size. Only the lines
// on the screen are read, through a line index that a worker thread builds;
// the first screen shows as soon as the first piece of the file is indexed.
// Long lines wrap at the box's width. The text can be selected with the
// mouse and copied, and Ctrl+F looks for a text on a worker thread, anew
// with each key typed.
class BigTextView final : public QAbstractScrollArea {
    Q_OBJECT

public:
    // The largest selection that is copied: a bigger one would hold the
    // program for many seconds and take more memory than the file.
    static constexpr qint64 kLargestCopy = 64 * 1024 * 1024;

    explicit BigTextView(QWidget* parent = nullptr);
    ~BigTextView() override;
    Q_DISABLE_COPY_MOVE(BigTextView)

    // Shows `file`. The same file, unchanged, keeps the place and the selection.
    void setFile(std::shared_ptr<TextFile> file);
    // Lines known so far; all of them once the index is complete.
    qint64 lineCount() const;
    bool isIndexing() const;
    QString lineText(qint64 line) const;
    // The whole text, read at once.
    QString toPlainText() const;
    qint64 firstVisibleLine() const { return top_.line; }
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
    bool isSearching() const { return search_->isRunning(); }
    QLineEdit* findField() const { return findField_; }
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
    // A row on the screen: characters [first, last) of a line.
    struct Row {
        qint64 line;
        qsizetype first;
        qsizetype last;
    };
    // A line's row, the place of the top row on the screen.
    struct RowPlace {
        qint64 line = 0;
        qsizetype row = 0;
    };

    void buildFindBar();
    void indexGrown(bool complete);
    void searchFound(TextMatch match);
    void searchFailed();
    void startSearch(const QString& text, TextPlace from);

    qint64 lineStart(qint64 line) const;
    qint64 lineEnd(qint64 line) const;
    QString readLine(qint64 line, qint64 byteLimit) const;
    std::vector<qsizetype> rowsOf(const QString& line) const;
    // The rows on the screen from the top, and whether they fill it or reach
    // the end of the text.
    std::vector<Row> screenRows(std::vector<QString>& lines, bool* full) const;
    RowPlace lastScreenTop() const;
    void updateScrollRange();
    void scrollRows(qint64 rows);
    void showPlace(RowPlace place);
    TextPlace placeAt(QPoint point) const;
    void select(TextPlace anchor, TextPlace caret);

    int columns() const;
    int rowsOnScreen() const;
    int rowHeight() const;
    double characterWidth() const;

    std::shared_ptr<TextFile> file_;
    TextIndexer* indexer_ = nullptr;
    TextSearch* search_ = nullptr;
    RowPlace top_;
    TextPlace anchor_;
    TextPlace caret_;
    TextMatch pendingMatch_; // found beyond the lines indexed so far
    bool movingScrollBar_ = false;
    bool shownFull_ = false;
    QWidget* findBar_ = nullptr;
    QLineEdit* findField_ = nullptr;
    QLabel* findState_ = nullptr;
};

} // namespace kadrix
