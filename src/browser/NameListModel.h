#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace kadrix {

// The names a file list shows. A new set of names is applied as rows
// inserted and removed, so that the rows that stay keep their selection,
// the current row and a mouse press in progress.
class NameListModel final : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    // The name itself, where the text shown writes its odd bytes as \xFF.
    static constexpr int kNameRole = Qt::UserRole;

    const QStringList& names() const { return names_; }
    void setNames(const QStringList& names);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QStringList names_;
};

} // namespace kadrix
