#include "browser/DirectoryList.h"

#include "browser/DirectoryModel.h"
#include "browser/DirectoryReader.h"
#include "platform/NativeFiles.h"
#include "platform/PathLookup.h"

#include <QDir>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace kadrix {

namespace {

// Indents each entry by its depth, as the classic list drew its tree.
class IndentDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int kIndent = 8;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem indented = option;
        indented.rect.adjust(indentOf(index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += indentOf(index);
        return size;
    }

private:
    static int indentOf(const QModelIndex& index)
    {
        return index.data(DirectoryModel::kDepthRole).toInt() * kIndent;
    }
};

QString normalizedDirectory(const QString& path)
{
    return absolutePath(QDir::fromNativeSeparators(path));
}

} // namespace

DirectoryList::DirectoryList(QWidget* parent)
    : QListView(parent)
    , model_(new DirectoryModel(this))
{
    setModel(model_);
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    connect(this, &QListView::doubleClicked, this, &DirectoryList::openActivated);
}

void DirectoryList::setSource(DirectoryReader* reader)
{
    if (reader_)
        reader_->disconnect(this);
    reader_ = reader;
    if (reader_)
        connect(reader_, &DirectoryReader::listed, this, &DirectoryList::showListing);
}

FileError DirectoryList::setPath(const QString& path)
{
    if (path.isEmpty())
        return {kPathNotFound, describeFileError(kPathNotFound)};
    const QString directory = normalizedDirectory(resolvePathCase(path));
    if (kindOfPath(directory) != PathKind::Directory)
        return {kPathNotFound, describeFileError(kPathNotFound)};
    if (directory == path_)
        return {};
    previousPath_ = path_;
    showPath(directory);
    Q_EMIT changed();
    return {};
}

void DirectoryList::revertPath()
{
    showPath(previousPath_);
}

void DirectoryList::showPath(const QString& path)
{
    path_ = path;
    model_->setPath(path_);
    setCurrentIndex(model_->index(model_->currentRow()));
    refresh();
}

void DirectoryList::refresh()
{
    if (reader_ && !path_.isEmpty())
        reader_->read(path_);
}

void DirectoryList::showListing(const DirectoryListing& listing)
{
    if (listing.path != path_)
        return;
    model_->setAnswering(listing.answering);
    model_->setSubdirectories(listing.subdirectories);
    if (!currentIndex().isValid())
        setCurrentIndex(model_->index(model_->currentRow()));
}

QStringList DirectoryList::entryPaths() const
{
    QStringList paths;
    for (int row = 0; row < model_->rowCount(); ++row)
        paths.append(model_->index(row).data(DirectoryModel::kPathRole).toString());
    return paths;
}

QStringList DirectoryList::entryLabels() const
{
    QStringList labels;
    for (int row = 0; row < model_->rowCount(); ++row)
        labels.append(model_->index(row).data().toString());
    return labels;
}

int DirectoryList::currentDirectoryRow() const
{
    return model_->currentRow();
}

FileError DirectoryList::openEntry(int row)
{
    const QString target = model_->index(row).data(DirectoryModel::kPathRole).toString();
    if (target.isEmpty())
        return {};
    const FileError error = setPath(target);
    if (error)
        Q_EMIT openFailed(error);
    return error;
}

void DirectoryList::openActivated(const QModelIndex& index)
{
    if (index.isValid())
        openEntry(index.row());
}

void DirectoryList::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        openEntry(currentIndex().row());
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace kadrix
