#include "browser/DirectoryReader.h"

#include "browser/ListingUpdater.h"

#include <QPromise>
#include <QThreadPool>
#include <QTimer>

#include <memory>

namespace kadrix {

DirectoryReader::DirectoryReader(QObject* parent)
    : QObject(parent)
    , updater_(std::make_shared<ListingUpdater>())
{
    connect(&watcher_, &QFutureWatcher<DirectoryListing>::finished, this,
            &DirectoryReader::finishRead);
    connect(&watch_, &DirectoryWatch::changed, this, [this](const QString& path) {
        if (path == wantedPath_)
            read(path);
    });
}

DirectoryReader::~DirectoryReader()
{
    watcher_.disconnect(this);
}

int DirectoryReader::addPattern(const QString& pattern)
{
    patterns_.append(pattern);
    return static_cast<int>(patterns_.size()) - 1;
}

void DirectoryReader::setPattern(int place, const QString& pattern)
{
    patterns_[place] = pattern;
}

bool DirectoryReader::isBusy() const
{
    return pending_ || running_;
}

void DirectoryReader::read(const QString& path)
{
    wantedPath_ = path;
    pending_ = true;
    ++requestCount_;
    // Requests made by one handler are gathered and served by one read.
    if (!startScheduled_) {
        startScheduled_ = true;
        QTimer::singleShot(0, this, [this] {
            startScheduled_ = false;
            startPending();
        });
    }
}

void DirectoryReader::readIfChanged(const QString& path)
{
    if (isBusy() || last_.path != path || !watch_.isWatching(path) || watch_.hasUnreportedChange())
        read(path);
}

void DirectoryReader::startPending()
{
    if (!pending_ || running_)
        return;
    pending_ = false;
    running_ = true;
    runningPath_ = wantedPath_;
    runningRequest_ = requestCount_;
    auto promise = std::make_shared<QPromise<DirectoryListing>>();
    promise->start();
    watcher_.setFuture(promise->future());
    QThreadPool::globalInstance()->start(
        [promise, updater = updater_, path = runningPath_, patterns = patterns_] {
            promise->addResult(updater->list(path, patterns));
            promise->finish();
        });
}

void DirectoryReader::finishRead()
{
    running_ = false;
    const DirectoryListing listing = watcher_.future().resultCount() > 0
                                         ? watcher_.future().result()
                                         : DirectoryListing{runningPath_, {}, false, {}, {}, {}};
    // A result is shown unless a newer request has asked for another
    // directory, or a reading made since has already been shown.
    if (runningPath_ == wantedPath_ && runningRequest_ > publishedRequest_) {
        publishedRequest_ = runningRequest_;
        publish(listing);
    }
    startPending();
}

void DirectoryReader::readThen(const QString& path, Continuation then)
{
    read(path);
    waiting_.push_back({requestCount_, path, std::move(then)});
}

void DirectoryReader::publish(const DirectoryListing& listing)
{
    last_ = listing;
    watch_.watch(listing.readable ? listing.path : QString());
    Q_EMIT listed(listing);
    continueAfter(listing);
}

void DirectoryReader::continueAfter(const DirectoryListing& listing)
{
    std::vector<Continuation> due;
    std::erase_if(waiting_, [&](Waiting& waiting) {
        if (waiting.path != listing.path)
            return true; // another directory was asked for since
        if (waiting.request > publishedRequest_)
            return false;
        due.push_back(std::move(waiting.then));
        return true;
    });
    for (const Continuation& then : due)
        then(listing);
}

} // namespace kadrix
