#pragma once

#include "browser/DirectoryListing.h"
#include "browser/DirectoryWatch.h"

#include <QFutureWatcher>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace kadrix {

class ListingUpdater;

// Reads the data directory for the browser's lists away from the user
// interface, so that a directory of a hundred thousand files or a slow
// network drive never freezes the window: the names are sorted and matched
// against the file lists' patterns there too. Requests made while one read runs
// are folded into a single read that follows it; a result that a newer
// request has overtaken is dropped. The directory last listed is watched,
// and changes made to it by any program are listed anew on their own.
class DirectoryReader final : public QObject {
    Q_OBJECT

public:
    explicit DirectoryReader(QObject* parent = nullptr);
    ~DirectoryReader() override;
    Q_DISABLE_COPY_MOVE(DirectoryReader)

    // Adds a pattern that every listing matches the files against, and
    // returns its place for `setPattern`.
    int addPattern(const QString& pattern);
    void setPattern(int place, const QString& pattern);

    // Asks for a fresh listing of `path`; `listed` follows.
    void read(const QString& path);
    // Reads `path` unless it is watched and nothing has changed since it
    // was last listed.
    void readIfChanged(const QString& path);
    // Reads `path` afresh, as `read` does, and calls `then` with the listing
    // once it has been shown; dropped when another directory is asked for
    // before.
    using Continuation = std::function<void(const DirectoryListing& listing)>;
    void readThen(const QString& path, Continuation then);

    bool isBusy() const;
    const DirectoryListing& lastListing() const { return last_; }

Q_SIGNALS:
    void listed(const kadrix::DirectoryListing& listing);

private:
    void startPending();
    void finishRead();
    void publish(const DirectoryListing& listing);
    void continueAfter(const DirectoryListing& listing);

    QFutureWatcher<DirectoryListing> watcher_;
    // Used by one reading at a time, on the worker.
    std::shared_ptr<ListingUpdater> updater_;
    QStringList patterns_;
    DirectoryWatch watch_;
    QString wantedPath_;
    QString runningPath_;
    bool pending_ = false;
    bool running_ = false;
    bool startScheduled_ = false;
    quint64 requestCount_ = 0;
    quint64 runningRequest_ = 0;
    quint64 publishedRequest_ = 0;
    DirectoryListing last_;
    struct Waiting {
        quint64 request;
        QString path;
        Continuation then;
    };
    std::vector<Waiting> waiting_;
};

} // namespace kadrix
