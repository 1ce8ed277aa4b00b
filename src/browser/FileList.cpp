#include "browser/FileList.h"

#include "browser/DirectoryReader.h"
#include "browser/NameListModel.h"

#include <QKeyEvent>

#include <algorithm>

namespace kadrix {

FileList::FileList(QWidget* parent)
    : QListView(parent)
    , model_(new NameListModel(this))
{
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    connect(this, &QListView::clicked, this, &FileList::clickIfSelected);
    connect(this, &QListView::doubleClicked, this, [this] { Q_EMIT fileDoubleClicked(); });
}

void FileList::setSource(DirectoryReader* reader)
{
    if (reader_)
        reader_->disconnect(this);
    reader_ = reader;
    if (!reader_)
        return;
    patternPlace_ = reader_->addPattern(pattern_);
    // Each list takes a new listing in an event of its own, so that the
    // window stays responsive while large directories are shown.
    connect(reader_, &DirectoryReader::listed, this, &FileList::showListing, Qt::QueuedConnection);
}

void FileList::setPath(const QString& path)
{
    if (path_ != path) {
        path_ = path;
        model_->setNames({});
    }
    refresh();
}

void FileList::setPattern(const QString& pattern)
{
    pattern_ = pattern;
    if (reader_)
        reader_->setPattern(patternPlace_, pattern);
    refresh();
}

void FileList::refresh()
{
    if (reader_ && !path_.isEmpty())
        reader_->read(path_);
}

void FileList::showListing(const DirectoryListing& listing)
{
    // A listing made before the pattern changed is passed over: the reading
    // asked for by the change follows.
    const QStringList* names = listing.filesMatching(pattern_);
    if (listing.path != path_)
        return;
    if (!listing.readable)
        model_->setNames({});
    else if (names)
        model_->setNames(*names);
}

int FileList::listCount() const
{
    return model_->rowCount();
}

QStringList FileList::names() const
{
    return model_->names();
}

QString FileList::selectedName() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isSelected(current))
        return {};
    return current.data(NameListModel::kNameRole).toString();
}

void FileList::allowSeveral()
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
}

QStringList FileList::selectedNames() const
{
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    QStringList names;
    for (const QModelIndex& row : rows)
        names.append(row.data(NameListModel::kNameRole).toString());
    return names;
}

bool FileList::selectName(const QString& name)
{
    const int row = static_cast<int>(model_->names().indexOf(name));
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

void FileList::clickIfSelected()
{
    // A Ctrl+click that took the current file out of several makes the
    // first one left current, so that the trial is always a selected file.
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (selectionMode() == ExtendedSelection && selectedName().isEmpty() && !rows.isEmpty())
        selectionModel()->setCurrentIndex(*std::min_element(rows.begin(), rows.end()),
                                          QItemSelectionModel::NoUpdate);
    if (!selectedName().isEmpty())
        Q_EMIT fileClicked();
}

// Space, Return and the movement keys choose the current file when it is
// not selected yet: in a list of one file the current row never moves, and
// the keyboard alone must still be able to choose it.
void FileList::keyPressEvent(QKeyEvent* event)
{
    static const QList<int> choosingKeys{
        Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Up,     Qt::Key_Down,    Qt::Key_Left,
        Qt::Key_Right, Qt::Key_Home,   Qt::Key_End,   Qt::Key_PageUp, Qt::Key_PageDown};
    const QModelIndex before = currentIndex();
    const bool wasSelected = before.isValid() && selectionModel()->isSelected(before);
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!isReturn)
        QListView::keyPressEvent(event);
    const bool choosing = choosingKeys.contains(event->key());
    if (choosing)
        selectCurrentIfUnselected();
    if (event->matches(QKeySequence::SelectAll) && selectionMode() == ExtendedSelection)
        return clickIfSelected();
    if (currentIndex().isValid() && (currentIndex() != before || (choosing && !wasSelected)))
        clickIfSelected();
}

void FileList::selectCurrentIfUnselected()
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && !selectionModel()->isSelected(current))
        selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
}

// The selected file stays selected: Ctrl+click on it or a click beside the
// entries would otherwise leave the list without a selection.
QItemSelectionModel::SelectionFlags FileList::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const
{
    const QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(index, event);
    if (!index.isValid())
        return command.testFlag(QItemSelectionModel::Clear) ? QItemSelectionModel::NoUpdate
                                                            : command;
    if (!(command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)))
        return command;
    if (selectionMode() != ExtendedSelection)
        return QItemSelectionModel::ClearAndSelect;
    // Of several selected files, Ctrl+click takes one out; never the last.
    const bool last =
        selectionModel()->isSelected(index) && selectionModel()->selectedRows().size() == 1;
    return last ? QItemSelectionModel::NoUpdate : command;
}

} // namespace kadrix
