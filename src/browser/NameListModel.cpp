#include "browser/NameListModel.h"

#include "browser/RowChanges.h"
#include "platform/NativeNames.h"

namespace kadrix {

void NameListModel::setNames(const QStringList& names)
{
    if (names == names_)
        return;
    const std::vector<RowChange> steps = rowChanges(names_, names);
    if (steps.size() > kMostRowChanges) {
        beginResetModel();
        names_ = names;
        endResetModel();
        return;
    }
    for (const RowChange& step : steps) {
        const int last = step.row + step.count - 1;
        if (step.insert) {
            beginInsertRows({}, step.row, last);
            names_.insert(step.row, step.count, QString());
            for (int i = 0; i < step.count; ++i)
                names_[step.row + i] = names.at(step.from + i);
            endInsertRows();
        } else {
            beginRemoveRows({}, step.row, last);
            names_.remove(step.row, step.count);
            endRemoveRows();
        }
    }
}

int NameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

QVariant NameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return shownName(names_.at(index.row()));
    return role == kNameRole ? QVariant(names_.at(index.row())) : QVariant();
}

} // namespace kadrix
