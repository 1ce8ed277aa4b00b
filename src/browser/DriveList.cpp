#include "browser/DriveList.h"

#include "platform/FileErrors.h"
#include "platform/NativeFiles.h"

#include <QDir>
#include <QPromise>
#include <QSignalBlocker>
#include <QThreadPool>

namespace kadrix {

namespace {

constexpr int kRootRole = Qt::UserRole;
constexpr int kAnsweringRole = Qt::UserRole + 1;
constexpr int kProblemRole = Qt::UserRole + 2;
// How long a survey waits for a file system to tell its size.
constexpr std::chrono::milliseconds kPatience{1000};

bool holds(const QString& root, const QString& path)
{
    // A root that ends in a separator ("/", "C:/") holds every path below it.
    if (root.endsWith(QLatin1Char('/')))
        return path.startsWith(root);
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

DriveSource mountedDrives(std::shared_ptr<VolumeProbes> probes)
{
    return [probes] { return surveyDrives(readMountTable(), *probes, volumeLabels()); };
}

} // namespace

DriveList::DriveList(QWidget* parent)
    : QComboBox(parent)
    , probes_(std::make_shared<VolumeProbes>(askFileSystem, kPatience))
    , source_(mountedDrives(probes_))
{
    // Until the first survey is in, the root stands for every drive.
    addItem(QDir::toNativeSeparators(QDir::rootPath()), QDir::rootPath());
    setItemData(0, true, kAnsweringRole);
    shownIndex_ = 0;
    connect(this, &QComboBox::activated, this, &DriveList::userSelected);
    connect(&survey_, &QFutureWatcher<QList<Drive>>::finished, this, [this] {
        surveying_ = false;
        if (survey_.future().resultCount() > 0)
            showDrives(survey_.future().result());
        if (std::exchange(surveyAgain_, false))
            startSurvey();
        else
            Q_EMIT surveyed();
    });
    refresh();
}

// A survey still waiting for a silent file system would hold the end of
// the program for as long as it waits.
DriveList::~DriveList()
{
    survey_.disconnect(this);
    probes_->stopWaiting();
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

QString DriveList::problemOf(const QString& root) const
{
    const int index = findData(root, kRootRole);
    if (index < 0 || itemData(index, kAnsweringRole).toBool())
        return {};
    const QString problem = itemData(index, kProblemRole).toString();
    return problem.isEmpty() ? describeFileError(kDeviceUnavailable) + QStringLiteral(" (") + root +
                                   QStringLiteral(" does not answer)")
                             : problem + QStringLiteral(" (") + root + QLatin1Char(')');
}

QString DriveList::problemOfDriveHolding(const QString& path) const
{
    const int index = indexOfDriveHolding(path);
    return index < 0 ? QString() : problemOf(itemData(index, kRootRole).toString());
}

void DriveList::refresh()
{
    if (surveying_)
        surveyAgain_ = true;
    else
        startSurvey();
}

void DriveList::startSurvey()
{
    surveying_ = true;
    auto promise = std::make_shared<QPromise<QList<Drive>>>();
    promise->start();
    survey_.setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise, source = source_] {
        promise->addResult(source());
        promise->finish();
    });
}

void DriveList::showDrives(const QList<Drive>& drives)
{
    QStringList labels;
    for (const Drive& entry : drives)
        labels.append(entry.label);
    if (labels == itemLabels() || drives.isEmpty())
        return; // unchanged: an open drop-down stays as it is
    const QString selected = drive();
    const QSignalBlocker blocker(this);
    clear();
    for (const Drive& entry : drives) {
        addItem(entry.label, entry.root);
        setItemData(count() - 1, entry.answering, kAnsweringRole);
        setItemData(count() - 1, entry.problem, kProblemRole);
    }
    const int holding = shownPath_.isEmpty() ? -1 : indexOfDriveHolding(shownPath_);
    const int index = holding >= 0 ? holding : findData(selected, kRootRole);
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
    const QString absolute = absolutePath(path);
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
    shownPath_ = absolutePath(path);
    if (index != currentIndex()) {
        selectIndex(index);
        Q_EMIT changed();
    }
    return true;
}

void DriveList::showDriveOf(const QString& path)
{
    const int index = indexOfDriveHolding(path);
    shownPath_ = absolutePath(path);
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
    openedDirectories_.removeAll(directory);
    openedDirectories_.append(directory);
}

QString DriveList::currentDirectoryOf(const QString& drive) const
{
    const QString current = currentDirectory();
    const int holding = indexOfDriveHolding(current);
    if (holding >= 0 && itemData(holding, kRootRole).toString() == drive)
        return current;
    for (auto opened = openedDirectories_.crbegin(); opened != openedDirectories_.crend();
         ++opened) {
        const int index = indexOfDriveHolding(*opened);
        if (index >= 0 && itemData(index, kRootRole).toString() == drive &&
            kindOfPath(*opened) == PathKind::Directory)
            return *opened;
    }
    return drive;
}

} // namespace kadrix
