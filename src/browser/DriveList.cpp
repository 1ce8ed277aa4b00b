#include "browser/DriveList.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStorageInfo>

#include <algorithm>

namespace kadrix {

namespace {

constexpr int kRootRole = Qt::UserRole;

bool holds(const QString& root, const QString& path)
{
    if (root == QLatin1String("/"))
        return path.startsWith(root);
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

QString labelOf(const QStorageInfo& volume)
{
    const QString root = QDir::toNativeSeparators(volume.rootPath());
    const QString name = volume.name();
    return name.isEmpty() || name == volume.rootPath()
               ? root
               : root + QStringLiteral("  [") + name + QLatin1Char(']');
}

QList<Drive> mountedDrives()
{
    QList<QStorageInfo> volumes;
    const QList<QStorageInfo> mounted = QStorageInfo::mountedVolumes();
    for (const QStorageInfo& volume : mounted) {
        if (volume.isValid() && volume.isReady())
            volumes.append(volume);
    }
    // The root is always a drive; it is looked up on its own (another
    // reading of the mount table) only when the table did not list it.
    const QString rootPath = QDir::rootPath();
    if (std::none_of(volumes.cbegin(), volumes.cend(),
                     [&](const QStorageInfo& v) { return v.rootPath() == rootPath; }))
        volumes.append(QStorageInfo::root());
    std::sort(volumes.begin(), volumes.end(), [](const QStorageInfo& a, const QStorageInfo& b) {
        return a.rootPath() < b.rootPath();
    });
    QList<Drive> drives;
    for (const QStorageInfo& volume : volumes)
        drives.append({volume.rootPath(), labelOf(volume)});
    return drives;
}

} // namespace

DriveList::DriveList(QWidget* parent)
    : QComboBox(parent)
    , source_(mountedDrives)
{
    connect(this, &QComboBox::activated, this, &DriveList::userSelected);
    refresh();
}

QString DriveList::drive() const
{
    return currentData(kRootRole).toString();
}

QStringList DriveList::drives() const
{
    QStringList roots;
    for (int i = 0; i < count(); ++i)
        roots.append(itemData(i, kRootRole).toString());
    return roots;
}

void DriveList::refresh()
{
    const QList<Drive> drives = source_();
    QStringList labels;
    for (const Drive& entry : drives)
        labels.append(entry.label);
    if (labels == itemLabels())
        return; // unchanged: an open drop-down stays as it is
    const QString selected = drive();
    const QSignalBlocker blocker(this);
    clear();
    for (const Drive& entry : drives)
        addItem(entry.label, entry.root);
    const int index = findData(selected, kRootRole);
    selectIndex(index >= 0 ? index : shownIndex_ < count() ? shownIndex_ : 0);
}

QStringList DriveList::itemLabels() const
{
    QStringList labels;
    for (int i = 0; i < count(); ++i)
        labels.append(itemText(i));
    return labels;
}

void DriveList::setSource(DriveSource source)
{
    source_ = std::move(source);
    refresh();
}

int DriveList::indexOfDriveHolding(const QString& path) const
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i, kRootRole).toString();
        if (holds(root, absolute) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

bool DriveList::setDrive(const QString& path)
{
    const int index = indexOfDriveHolding(path);
    if (index < 0)
        return false;
    if (index != currentIndex()) {
        selectIndex(index);
        Q_EMIT changed();
    }
    return true;
}

void DriveList::showDriveOf(const QString& path)
{
    const int index = indexOfDriveHolding(path);
    if (index >= 0)
        selectIndex(index);
}

void DriveList::selectIndex(int index)
{
    const QSignalBlocker blocker(this);
    setCurrentIndex(index);
    shownIndex_ = index;
}

void DriveList::userSelected(int index)
{
    if (index == shownIndex_)
        return;
    shownIndex_ = index;
    Q_EMIT changed();
}

void DriveList::rememberDirectory(const QString& directory)
{
    const int index = indexOfDriveHolding(directory);
    if (index >= 0)
        lastDirectory_.insert(itemData(index, kRootRole).toString(), directory);
}

QString DriveList::currentDirectoryOf(const QString& drive) const
{
    const QString current = QDir::currentPath();
    if (indexOfDriveHolding(current) >= 0 &&
        itemData(indexOfDriveHolding(current), kRootRole).toString() == drive)
        return current;
    const QString remembered = lastDirectory_.value(drive);
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    return drive;
}

} // namespace kadrix
