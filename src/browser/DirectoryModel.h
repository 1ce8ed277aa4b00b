#pragma once

#include <QAbstractListModel>
#include <QIcon>

#include <vector>

namespace kadrix {

struct RowChange;

// The entries of the directory list: ancestors and the current directory
// (open folders, indented by depth), then the subdirectories (closed folders).
class DirectoryModel final : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr int kPathRole = Qt::UserRole + 1;
    static constexpr int kDepthRole = Qt::UserRole + 2;

    using QAbstractListModel::QAbstractListModel;

    void setPath(const QString& path);
    void setSubdirectories(const QStringList& names);
    // Marks the current directory as one whose reading does not answer.
    void setAnswering(bool answering);
    int currentRow() const { return static_cast<int>(ancestorCount_) - 1; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    struct Entry {
        QString label;
        QString path;
        int depth = 0;
        bool open = false;
    };

    const QIcon& folderIcon(bool open) const;
    Entry subdirectoryEntry(const QString& name) const;
    void applyStep(const RowChange& step, const QStringList& names);

    std::vector<Entry> entries_;
    size_t ancestorCount_ = 0;
    bool answering_ = true;
    mutable QIcon openIcon_;
    mutable QIcon closedIcon_;
};

} // namespace kadrix
