#include "launcher/DgFiles.h"

#include "platform/DirectoryScan.h"
#include "platform/NativeNames.h"

#include <QFutureWatcher>
#include <QPromise>

#include <memory>
#include <thread>

namespace kadrix {

namespace {

struct DgListing {
    QStringList names;
    QString problem;
};

DgListing readDgNames(const QString& directory)
{
    DgListing listing;
    ChildScan scan;
    listing.problem = scanWatched(
        directory,
        [&listing](std::string_view name, bool isDirectory) {
            const QString decoded = decodeNativeName(QByteArrayView(name.data(), name.size()));
            if (!isDirectory && decoded.endsWith(QLatin1String(".dg"), Qt::CaseInsensitive))
                listing.names.append(decoded);
        },
        scan);
    listing.names.sort();
    return listing;
}

} // namespace

void listDgFilesThen(const QString& directory, QObject* receiver,
                     std::function<void(const QStringList& names, const QString& problem)> then)
{
    auto promise = std::make_shared<QPromise<DgListing>>();
    promise->start();
    auto* watcher = new QFutureWatcher<DgListing>(receiver);
    QObject::connect(watcher, &QFutureWatcher<DgListing>::finished, receiver,
                     [watcher, then = std::move(then)] {
                         watcher->deleteLater();
                         const DgListing listing = watcher->future().result();
                         then(listing.names, listing.problem);
                     });
    watcher->setFuture(promise->future());
    // Never a thread of a pool that the end of the program waits for.
    std::thread([promise, directory] {
        promise->addResult(readDgNames(directory));
        promise->finish();
    }).detach();
}

} // namespace kadrix
