#include "browser/FileList.h"

#include "browser/DirectoryReader.h"

#include <QKeyEvent>
#include <QStringListModel>

namespace kadrix {

FileList::FileList(QWidget* parent)
    : QListView(parent)
    , model_(new QStringListModel(this))
{
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    connect(this, &QListView::clicked, this, [this] { Q_EMIT fileClicked(); });
    connect(this, &QListView::doubleClicked, this, [this] { Q_EMIT fileDoubleClicked(); });
}

void FileList::setSource(DirectoryReader* reader)
{
    if (reader_)
        reader_->disconnect(this);
    reader_ = reader;
    if (reader_)
        // Each list takes a new listing in an event of its own, so that the
        // window stays responsive while large directories are shown.
        connect(reader_, &DirectoryReader::listed, this, &FileList::showListing,
                Qt::QueuedConnection);
}

void FileList::setPath(const QString& path)
{
    if (path_ != path) {
        path_ = path;
        setNames({});
    }
    refresh();
}

void FileList::setPattern(const QString& pattern)
{
    pattern_ = FilePattern(pattern);
    if (reader_ && reader_->lastListing().path == path_)
        showListing(reader_->lastListing());
    refresh();
}

void FileList::refresh()
{
    if (reader_ && !path_.isEmpty())
        reader_->read(path_);
}

void FileList::showListing(const DirectoryListing& listing)
{
    if (listing.path == path_)
        setNames(pattern_.filter(listing.files));
}

void FileList::setNames(const QStringList& names)
{
    if (names == model_->stringList())
        return;
    const QString selected = selectedName();
    model_->setStringList(names);
    if (!selected.isEmpty())
        selectName(selected);
}

int FileList::listCount() const
{
    return model_->rowCount();
}

QStringList FileList::names() const
{
    return model_->stringList();
}

QString FileList::selectedName() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isSelected(current))
        return {};
    return current.data().toString();
}

bool FileList::selectName(const QString& name)
{
    const int row = static_cast<int>(model_->stringList().indexOf(name));
    if (row < 0)
        return false;
    const QModelIndex index = model_->index(row);
    setCurrentIndex(index);
    scrollTo(index);
    return true;
}

void FileList::mouseReleaseEvent(QMouseEvent* event)
{
    QListView::mouseReleaseEvent(event);
    // A click on a list without entries is still a click: its handler tells
    // the user that the directory holds nothing of this kind.
    if (listCount() == 0 && event->button() == Qt::LeftButton)
        Q_EMIT fileClicked();
}

void FileList::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex before = currentIndex();
    QListView::keyPressEvent(event);
    if (currentIndex() != before && currentIndex().isValid())
        Q_EMIT fileClicked();
}

} // namespace kadrix
