#pragma once

#include "browser/DirectoryListing.h"
#include "browser/DirectoryWatch.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

namespace kadrix {

// Reads the data directory for the browser's lists away from the user
// interface, so that a directory of a hundred thousand files or a slow
// network drive never freezes the window: the names are sorted and matched
// against the file lists' patterns there too. Each directory has a reading
// of its own; requests made while one runs are folded into a single read
// that follows it, and a result that a newer request has overtaken is
// dropped. A reading that has read no name for a second (a share whose
// server has stopped answering) is shown as not answering, other
// directories are read meanwhile, and it holds neither the window nor the
// end of the program. The directory shown is watched, and changes made to it
// by any program are listed anew on their own.
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

    // Whether a listing of the directory last asked for is still to come.
    bool isBusy() const;
    const DirectoryListing& lastListing() const { return last_; }

    // Called on a reading's own thread with each name as it is read, and
    // with an empty name once all are read, before the listing is made: lets
    // a test act in the middle of a reading.
    using EntryHook = std::function<void(const QString& path, std::string_view name)>;
    void setEntryHook(EntryHook hook)
    {
        hook_ = std::make_shared<const EntryHook>(std::move(hook));
    }

Q_SIGNALS:
    void listed(const kadrix::DirectoryListing& listing);

private:
    struct Reading;

    Reading& readingOf(const QString& path);
    void startPending();
    void start(const QString& path, Reading& reading);
    void finish(const QString& path, const DirectoryListing& listing);
    void checkProgress();
    void publish(const DirectoryListing& listing, quint64 request);
    void continueAfter(const DirectoryListing& listing, quint64 request);

    QStringList patterns_;
    DirectoryWatch watch_;
    std::map<QString, std::unique_ptr<Reading>> readings_;
    QTimer progressCheck_;
    std::shared_ptr<const EntryHook> hook_;
    QString wantedPath_;
    bool pending_ = false;
    bool startScheduled_ = false;
    quint64 requestCount_ = 0;
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
