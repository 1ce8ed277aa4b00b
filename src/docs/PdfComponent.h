#pragma once

#include <QRect>
#include <QString>

#include <memory>

class QFile;
class QLabel;
class QPdfDocument;
class QPdfView;
class QWidget;

namespace kadrix {

struct FileStatus;

// The reader's document area: Qt PDF behind the two operations the reader
// relies on, the document source (a path) and the rectangle the area takes
// in its window. Whatever the user does inside the document is the view's
// own affair. A document that cannot be opened leaves the area empty with a
// short notice in it; an empty source leaves it empty without one.
class PdfComponent {
public:
    explicit PdfComponent(QWidget& window);
    ~PdfComponent();
    PdfComponent(const PdfComponent&) = delete;
    PdfComponent& operator=(const PdfComponent&) = delete;

    // The document source. Letter case is ignored when the file is looked
    // up. The same source again keeps the page and position shown, unless
    // the file has changed on the disk.
    void setSrc(const QString& path);
    const QString& src() const { return src_; }

    // Position and size in the window, in twips.
    void setRectangle(QRect rectangle);
    QRect rectangle() const { return rectangle_; }

    QPdfView* view() const { return view_; }
    QPdfDocument* document() const { return document_.get(); }
    // The notice in the empty area, or the empty text.
    QString notice() const;

private:
    // What tells a changed file: its size and its time of change.
    struct FileStamp {
        qint64 size = -1;
        qint64 changed = -1;
        bool operator==(const FileStamp&) const = default;
    };
    static FileStamp stampOf(const FileStatus& status);
    static FileStamp stampOf(const QString& path);

    // Why the document could not be shown, or the empty text.
    QString load(const QString& file);
    void close();
    bool showsUnchanged(const QString& file) const;
    void showNotice(const QString& text);

    // The file outlives the document read from it, and the document the view
    // that shows it: the view is deleted first.
    std::unique_ptr<QFile> file_;
    std::unique_ptr<QPdfDocument> document_;
    QPdfView* view_ = nullptr;
    QLabel* notice_ = nullptr;
    QString src_;
    QRect rectangle_;
    QString loadedFile_;
    FileStamp loadedStamp_;
};

} // namespace kadrix
