#include "browser/DirectoryModel.h"

#include "browser/RowChanges.h"
#include "platform/NativeNames.h"

#include <QApplication>
#include <QDir>
#include <QStyle>

namespace kadrix {

namespace {

QString childPath(const QString& directory, const QString& name)
{
    return directory.endsWith(QLatin1Char('/')) ? directory + name
                                                : directory + QLatin1Char('/') + name;
}

} // namespace

// The folder pictures are loaded when the list is first drawn: loading
// them brings in the image format plugins, which a start that animates a
// trial at once never needs.
const QIcon& DirectoryModel::folderIcon(bool open) const
{
    if (openIcon_.isNull()) {
        openIcon_ = QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon);
        closedIcon_ = QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon);
    }
    return open ? openIcon_ : closedIcon_;
}

void DirectoryModel::setPath(const QString& path)
{
    beginResetModel();
    entries_.clear();
    ancestorCount_ = 0;
    answering_ = true;
    if (path.isEmpty()) {
        endResetModel();
        return;
    }
    const QString cleaned = QDir::cleanPath(path);
    QString walked;
    const QStringList parts = cleaned.split(QLatin1Char('/'), Qt::KeepEmptyParts);
    int depth = 0;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        if (i == 0) {
            walked = part.isEmpty() ? QStringLiteral("/") : part + QLatin1Char('/');
            entries_.push_back({QDir::toNativeSeparators(walked), walked, depth++, true});
            continue;
        }
        if (part.isEmpty())
            continue;
        walked = childPath(walked, part);
        entries_.push_back({part, walked, depth++, true});
    }
    ancestorCount_ = entries_.size();
    endResetModel();
}

// Subdirectories that stay keep their rows, so that a refresh leaves the
// selection, the current entry and a mouse press in progress alone.
void DirectoryModel::setSubdirectories(const QStringList& names)
{
    if (ancestorCount_ == 0)
        return;
    QStringList shown;
    for (size_t i = ancestorCount_; i < entries_.size(); ++i)
        shown.append(entries_[i].label);
    const std::vector<RowChange> steps = rowChanges(shown, names);
    if (steps.size() > kMostRowChanges) {
        beginResetModel();
        entries_.resize(ancestorCount_);
        for (const QString& name : names)
            entries_.push_back(subdirectoryEntry(name));
        endResetModel();
        return;
    }
    for (const RowChange& step : steps)
        applyStep(step, names);
}

void DirectoryModel::setAnswering(bool answering)
{
    if (answering == answering_ || ancestorCount_ == 0)
        return;
    answering_ = answering;
    const QModelIndex current = index(currentRow());
    Q_EMIT dataChanged(current, current, {Qt::DisplayRole});
}

DirectoryModel::Entry DirectoryModel::subdirectoryEntry(const QString& name) const
{
    const Entry& current = entries_.at(ancestorCount_ - 1);
    return {name, childPath(current.path, name), current.depth + 1, false};
}

void DirectoryModel::applyStep(const RowChange& step, const QStringList& names)
{
    const int first = static_cast<int>(ancestorCount_) + step.row;
    const auto at = entries_.begin() + first;
    if (step.insert) {
        beginInsertRows({}, first, first + step.count - 1);
        std::vector<Entry> added;
        for (int i = 0; i < step.count; ++i)
            added.push_back(subdirectoryEntry(names.at(step.from + i)));
        entries_.insert(at, added.begin(), added.end());
        endInsertRows();
    } else {
        beginRemoveRows({}, first, first + step.count - 1);
        entries_.erase(at, at + step.count);
        endRemoveRows();
    }
}

int DirectoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant DirectoryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Entry& entry = entries_.at(static_cast<size_t>(index.row()));
    switch (role) {
    case Qt::DisplayRole:
        // As the drive list marks a drive whose server does not answer.
        if (!answering_ && index.row() == currentRow())
            return shownName(entry.label) + QStringLiteral("  (not answering)");
        return shownName(entry.label);
    case Qt::DecorationRole:
        return folderIcon(entry.open);
    case Qt::ToolTipRole:
        return shownName(QDir::toNativeSeparators(entry.path));
    case kPathRole:
        return QDir::toNativeSeparators(entry.path);
    case kDepthRole:
        return entry.depth;
    default:
        return {};
    }
}

} // namespace kadrix
