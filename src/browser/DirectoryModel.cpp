#include "browser/DirectoryModel.h"

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

DirectoryModel::DirectoryModel(QObject* parent)
    : QAbstractListModel(parent)
    , openIcon_(QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon))
    , closedIcon_(QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon))
{}

void DirectoryModel::setPath(const QString& path)
{
    beginResetModel();
    entries_.clear();
    ancestorCount_ = 0;
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

void DirectoryModel::setSubdirectories(const QStringList& names)
{
    if (ancestorCount_ == 0)
        return;
    const QString& current = entries_.at(ancestorCount_ - 1).path;
    const int depth = entries_.at(ancestorCount_ - 1).depth + 1;
    beginResetModel();
    entries_.resize(ancestorCount_);
    for (const QString& name : names)
        entries_.push_back({name, childPath(current, name), depth, false});
    endResetModel();
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
        return entry.label;
    case Qt::DecorationRole:
        return entry.open ? openIcon_ : closedIcon_;
    case Qt::ToolTipRole:
    case kPathRole:
        return QDir::toNativeSeparators(entry.path);
    case kDepthRole:
        return entry.depth;
    default:
        return {};
    }
}

} // namespace kadrix
