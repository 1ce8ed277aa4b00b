#pragma once

#include <QListView>

namespace kadrix {

class DirectoryReader;
class NameListModel;
struct DirectoryListing;

// A list of the files of one directory that match a pattern, sorted by name.
// Its contents come from the browser's shared DirectoryReader.
class FileList final : public QListView {
    Q_OBJECT

public:
    explicit FileList(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(FileList)

    void setSource(DirectoryReader* reader);

    const QString& path() const { return path_; }
    void setPath(const QString& path);
    const QString& pattern() const { return pattern_; }
    // The list re-reads its directory for a new pattern and shows the files
    // matching it when the reading is done.
    void setPattern(const QString& pattern);
    void refresh();

    // Shows the files of `listing` that match the pattern, when it is a
    // listing of this list's directory.
    void showListing(const DirectoryListing& listing);

    int listCount() const;
    QStringList names() const;
    QString selectedName() const;
    // Lets the user select several files (Ctrl and Shift with a click,
    // Ctrl+A); the current file is always one of them, and is the trial.
    void allowSeveral();
    // The selected files in the list's order.
    QStringList selectedNames() const;
    bool selectName(const QString& name);

Q_SIGNALS:
    // A file was chosen by mouse or keyboard; also a click on an empty list.
    // A click or key that leaves no file selected is not a click.
    void fileClicked();
    void fileDoubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    void clickIfSelected();
    void selectCurrentIfUnselected();

    DirectoryReader* reader_ = nullptr;
    NameListModel* model_ = nullptr;
    QString path_;
    QString pattern_;
    int patternPlace_ = -1;
};

} // namespace kadrix
