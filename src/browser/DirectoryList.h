#pragma once

#include "platform/FileErrors.h"

#include <QListView>

namespace kadrix {

class DirectoryReader;
class DirectoryModel;
struct DirectoryListing;

// The classic directory list: the current path's ancestors from the root
// down, the current directory itself, then its subdirectories. A
// double-click or Enter on an entry opens that directory.
class DirectoryList final : public QListView {
    Q_OBJECT

public:
    explicit DirectoryList(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(DirectoryList)

    void setSource(DirectoryReader* reader);

    const QString& path() const { return path_; }
    // Opens the directory (letter case ignored) and emits `changed` before
    // returning when it differs from the current one. A path that is not an
    // existing directory is refused and changes nothing.
    FileError setPath(const QString& path);
    // Returns to the previous directory without emitting `changed`.
    void revertPath();
    void refresh();

    QStringList entryPaths() const;
    QStringList entryLabels() const;
    int currentDirectoryRow() const;
    FileError openEntry(int row);

Q_SIGNALS:
    void changed();
    // An entry the user opened could not be opened.
    void openFailed(const kadrix::FileError& error);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showPath(const QString& path);
    void showListing(const DirectoryListing& listing);
    void openActivated(const QModelIndex& index);

    DirectoryReader* reader_ = nullptr;
    DirectoryModel* model_ = nullptr;
    QString path_;
    QString previousPath_;
};

} // namespace kadrix
