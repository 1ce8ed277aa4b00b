#include "docs/DocumentList.h"

#include "platform/PathLookup.h"

#include <QDir>
#include <QKeyEvent>

namespace kadrix {

DocumentList::DocumentList(QWidget* parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemClicked, this, [this] { Q_EMIT entryChosen(); });
}

void DocumentList::setPath(const QString& path)
{
    path_ = path;
    refresh();
}

void DocumentList::refresh()
{
    const QString selected = selectedName();
    QDir directory(resolvePathCase(path_));
    // Name filters of QDir ignore letter case unless told otherwise.
    directory.setNameFilters({QStringLiteral("*.pdf")});
    directory.setFilter(QDir::Files);
    directory.setSorting(QDir::Name | QDir::IgnoreCase);
    const QStringList found = path_.isEmpty() ? QStringList() : directory.entryList();
    if (found == names())
        return;
    clear();
    addItems(found);
    const QList<QListWidgetItem*> again = findItems(selected, Qt::MatchExactly);
    if (!selected.isEmpty() && !again.isEmpty())
        setCurrentItem(again.constFirst());
}

QStringList DocumentList::names() const
{
    QStringList result;
    for (int row = 0; row < count(); ++row)
        result.append(item(row)->text());
    return result;
}

QString DocumentList::selectedName() const
{
    const QListWidgetItem* current = currentItem();
    return current && current->isSelected() ? current->text() : QString();
}

void DocumentList::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && currentItem()) {
        currentItem()->setSelected(true);
        Q_EMIT entryChosen();
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace kadrix
