#include "docs/DocumentList.h"

#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"
#include "platform/PathLookup.h"

#include <QKeyEvent>

#include <algorithm>

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

namespace {

constexpr int kNameRole = Qt::UserRole;

// The directory read byte for byte: its name and the documents' names may
// hold bytes that are no UTF-8 (see NativeNames.h). Sorted by name, letter
// case ignored.
QStringList documentsIn(const QString& directory)
{
    if (directory.isEmpty())
        return {};
    QStringList found = fileNamesEndingIn(resolvePathCase(directory), ".pdf");
    std::sort(found.begin(), found.end(), [](const QString& a, const QString& b) {
        const int folded = QString::compare(a, b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return found;
}

} // namespace

void DocumentList::refresh()
{
    const QString selected = selectedName();
    const QStringList found = documentsIn(path_);
    if (found == names())
        return;
    clear();
    for (const QString& name : found) {
        // Shown with its odd bytes written out; kept as it is.
        auto* entry = new QListWidgetItem(shownName(name), this);
        entry->setData(kNameRole, name);
        if (!selected.isEmpty() && name == selected)
            setCurrentItem(entry);
    }
}

QStringList DocumentList::names() const
{
    QStringList result;
    for (int row = 0; row < count(); ++row)
        result.append(item(row)->data(kNameRole).toString());
    return result;
}

QString DocumentList::selectedName() const
{
    const QListWidgetItem* current = currentItem();
    return current && current->isSelected() ? current->data(kNameRole).toString() : QString();
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
