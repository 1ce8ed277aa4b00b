#include "browser/DirectoryWatch.h"

namespace kadrix {

namespace {

// Long enough to gather a burst, short enough that a new file shows up
// well within a second.
constexpr int kSettleMilliseconds = 250;

} // namespace

DirectoryWatch::DirectoryWatch(QObject* parent)
    : QObject(parent)
{
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMilliseconds);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &DirectoryWatch::noteChange);
    connect(&settle_, &QTimer::timeout, this, [this] { Q_EMIT changed(path_); });
}

void DirectoryWatch::watch(const QString& path)
{
    if (path == path_ && isWatching(path))
        return;
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    settle_.stop();
    path_ = path;
    if (!path_.isEmpty())
        watcher_.addPath(path_);
}

bool DirectoryWatch::isWatching(const QString& path) const
{
    return !path.isEmpty() && path == path_ && watcher_.directories().contains(path);
}

void DirectoryWatch::noteChange(const QString& path)
{
    // The first change starts the clock; later ones ride along with it.
    if (path == path_ && !settle_.isActive())
        settle_.start();
}

} // namespace kadrix
