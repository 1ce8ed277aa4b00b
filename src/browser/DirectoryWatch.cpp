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
    connect(&events_, &DirectoryEvents::changed, this, &DirectoryWatch::noteChange);
    connect(&settle_, &QTimer::timeout, this, [this] { Q_EMIT changed(path_); });
}

void DirectoryWatch::watch(const QString& path, int watch)
{
    if (path.isEmpty())
        watch = -1;
    if (watch_ >= 0 && watch_ != watch)
        events_.remove(watch_);
    if (path != path_ || watch != watch_)
        settle_.stop(); // what was noticed before belongs to another directory
    path_ = path;
    watch_ = watch;
    if (changedWhileRead_.remove(watch) && watch >= 0)
        settle_.start();
}

void DirectoryWatch::drop(int watch)
{
    changedWhileRead_.remove(watch);
    if (watch >= 0 && watch != watch_)
        events_.remove(watch);
}

bool DirectoryWatch::isWatching(const QString& path) const
{
    return !path.isEmpty() && path == path_ && watch_ >= 0;
}

void DirectoryWatch::noteChange(int watch)
{
    // The first change starts the clock; later ones ride along with it.
    if ((watch == watch_ || watch < 0) && watch_ >= 0) {
        if (!settle_.isActive())
            settle_.start();
    } else if (watch >= 0) {
        changedWhileRead_.insert(watch);
    }
}

} // namespace kadrix
