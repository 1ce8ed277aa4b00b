#pragma once

#include <QListWidget>

namespace kadrix {

// The reader's list of documents: the PDF files of one directory (names
// ending in ".pdf" in any letter case), by name, without their directory.
// A click on an entry, or Enter on it, chooses it.
class DocumentList final : public QListWidget {
    Q_OBJECT

public:
    explicit DocumentList(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(DocumentList)

    // A directory that does not exist gives an empty list.
    void setPath(const QString& path);
    const QString& path() const { return path_; }
    void refresh();

    int listCount() const { return count(); }
    QStringList names() const;
    QString selectedName() const;

Q_SIGNALS:
    void entryChosen();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString path_;
};

} // namespace kadrix
