#include "browser/DirectoryReader.h"

#include "browser/ListingUpdater.h"
#include "platform/DirectoryNames.h"
#include "platform/DirectoryScan.h"
#include "platform/FileErrors.h"

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QPromise>

#include <atomic>
#include <thread>

namespace kadrix {

namespace {

// A reading that has read no name for this long is not answering.
constexpr qint64 kPatienceMilliseconds = 1000;
constexpr int kCheckMilliseconds = 250;

// What a reading's thread tells the user interface while it reads.
struct ReadingProgress {
    std::atomic<quint64> names{0};
    std::atomic<bool> scanning{true};
    std::shared_ptr<const DirectoryReader::EntryHook> hook;
    int watch = -1; // known once the listing is
};

// The entries are read where nothing can hold the program (see
// DirectoryScan.h), the directory added to the watch before the first name
// is read.
ListingUpdater::Scanner scannerFor(std::shared_ptr<ReadingProgress> progress, int watchFd)
{
    return [progress, watchFd](const QString& path, const EntryVisitor& visit) {
        ChildScan scan{watchFd, DirectoryEvents::kMask};
        const DirectoryReader::EntryHook* hook = progress->hook.get();
        const QString problem = scanWatched(
            path,
            [&](std::string_view name, bool directory) {
                progress->names.fetch_add(1, std::memory_order_relaxed);
                if (hook && *hook)
                    (*hook)(path, name);
                visit(name, directory);
            },
            scan);
        if (hook && *hook)
            (*hook)(path, {});
        progress->watch = scan.watch;
        progress->scanning = false;
        return problem;
    };
}

// Nothing is known of such a directory; lookups in it find nothing rather
// than ask it themselves.
DirectoryListing notAnswering(const QString& path)
{
    auto names = std::make_shared<DirectoryNames>();
    names->indexFoldedNames();
    DirectoryListing listing{
        path, {}, false, describeFileError(kDeviceUnavailable), {}, std::move(names)};
    listing.answering = false;
    return listing;
}

} // namespace

struct DirectoryReader::Reading {
    std::shared_ptr<ReadingProgress> progress = std::make_shared<ReadingProgress>();
    std::shared_ptr<ListingUpdater> updater;
    bool running = false;
    bool silent = false;
    quint64 request = 0;
    quint64 namesSeen = 0;
    QElapsedTimer sinceProgress;
};

DirectoryReader::DirectoryReader(QObject* parent)
    : QObject(parent)
{
    connect(&watch_, &DirectoryWatch::changed, this, [this](const QString& path) {
        if (path == wantedPath_)
            read(path);
    });
    progressCheck_.setInterval(kCheckMilliseconds);
    connect(&progressCheck_, &QTimer::timeout, this, &DirectoryReader::checkProgress);
}

// Readings still under way are left to end on their own threads; what they
// find goes nowhere.
DirectoryReader::~DirectoryReader() = default;

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
    const auto found = readings_.find(wantedPath_);
    if (found == readings_.end())
        return pending_;
    return !found->second->silent && (pending_ || found->second->running);
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

DirectoryReader::Reading& DirectoryReader::readingOf(const QString& path)
{
    std::unique_ptr<Reading>& reading = readings_[path];
    if (!reading) {
        reading = std::make_unique<Reading>();
        reading->updater =
            std::make_shared<ListingUpdater>(scannerFor(reading->progress, watch_.descriptor()));
    }
    return *reading;
}

// A directory whose reading is still under way is read again once it ends;
// while it does not answer, it is shown as not answering meanwhile.
void DirectoryReader::startPending()
{
    if (!pending_)
        return;
    Reading& reading = readingOf(wantedPath_);
    if (reading.silent)
        publish(notAnswering(wantedPath_), requestCount_);
    if (reading.running)
        return;
    pending_ = false;
    start(wantedPath_, reading);
}

void DirectoryReader::start(const QString& path, Reading& reading)
{
    reading.running = true;
    reading.request = requestCount_;
    reading.namesSeen = 0;
    reading.sinceProgress.start();
    ReadingProgress& progress = *reading.progress;
    progress.names = 0;
    progress.scanning = true;
    progress.hook = hook_;
    auto promise = std::make_shared<QPromise<DirectoryListing>>();
    promise->start();
    auto* watcher = new QFutureWatcher<DirectoryListing>(this);
    connect(watcher, &QFutureWatcher<DirectoryListing>::finished, this, [this, watcher, path] {
        watcher->deleteLater();
        const QFuture<DirectoryListing> future = watcher->future();
        finish(path, future.resultCount() > 0 ? future.result()
                                              : DirectoryListing{path, {}, false, {}, {}, {}});
    });
    watcher->setFuture(promise->future());
    // A thread of its own, never one of a pool that the end of the program
    // waits for: a reading may wait on a silent share for good.
    std::thread([promise, updater = reading.updater, path, patterns = patterns_] {
        promise->addResult(updater->list(path, patterns));
        promise->finish();
    }).detach();
    progressCheck_.start();
}

void DirectoryReader::finish(const QString& path, const DirectoryListing& listing)
{
    Reading& reading = *readings_.at(path);
    reading.running = false;
    reading.silent = false;
    const int watch = reading.progress->watch;
    // A result is shown unless a newer request has asked for another
    // directory, or a reading made since has already been shown.
    if (path == wantedPath_ && reading.request > publishedRequest_) {
        publishedRequest_ = reading.request;
        watch_.watch(listing.readable ? path : QString(), listing.readable ? watch : -1);
        if (!listing.readable)
            watch_.drop(watch);
        publish(listing, publishedRequest_);
    } else {
        watch_.drop(watch);
    }
    std::erase_if(readings_, [this](const auto& entry) {
        return !entry.second->running && entry.first != wantedPath_;
    });
    startPending();
}

void DirectoryReader::checkProgress()
{
    bool running = false;
    for (auto& [path, reading] : readings_) {
        running = running || reading->running;
        if (!reading->running || reading->silent)
            continue;
        const quint64 names = reading->progress->names.load(std::memory_order_relaxed);
        if (names != reading->namesSeen || !reading->progress->scanning) {
            reading->namesSeen = names;
            reading->sinceProgress.start();
        } else if (reading->sinceProgress.elapsed() >= kPatienceMilliseconds) {
            reading->silent = true;
            if (path == wantedPath_)
                publish(notAnswering(path), requestCount_);
        }
    }
    if (!running)
        progressCheck_.stop();
}

void DirectoryReader::readThen(const QString& path, Continuation then)
{
    read(path);
    waiting_.push_back({requestCount_, path, std::move(then)});
}

void DirectoryReader::publish(const DirectoryListing& listing, quint64 request)
{
    last_ = listing;
    Q_EMIT listed(listing);
    continueAfter(listing, request);
}

void DirectoryReader::continueAfter(const DirectoryListing& listing, quint64 request)
{
    std::vector<Continuation> due;
    std::erase_if(waiting_, [&](Waiting& waiting) {
        if (waiting.path != listing.path)
            return true; // another directory was asked for since
        if (waiting.request > request)
            return false;
        due.push_back(std::move(waiting.then));
        return true;
    });
    for (const Continuation& then : due)
        then(listing);
}

} // namespace kadrix
