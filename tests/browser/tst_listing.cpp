// Reading a directory for the browser's lists: which entries are listed, and
// the updating reader that re-reads a directory by its changes, checked
// against fresh readings through many rounds of changes.

#include "HostFiles.h"
#include "TestFiles.h"
#include "browser/DirectoryListing.h"
#include "browser/FilePatterns.h"
#include "browser/ListingUpdater.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <string>
#include <vector>

using namespace kadrix;
using namespace kadrix::test;

class ListingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsWhatTheListsShow();
    void updatesMatchFreshReadings();
};

void ListingTest::readsWhatTheListsShow()
{
    QTemporaryDir root;
    const QDir dir(root.path());
    for (const char* name : {"b.dg", "a.dg", "A.dg", ".hidden.dg", "sub/x.dg", ".git/x"})
        writeFile(dir.filePath(QString::fromLatin1(name)));
    // A pipe is no file to list; links are listed as what they lead to.
    const bool links =
        makeNamedPipe(dir.filePath(QStringLiteral("pipe.dg"))) &&
        makeSymbolicLink(QStringLiteral("b.dg"), dir.filePath(QStringLiteral("link.dg"))) &&
        makeSymbolicLink(QStringLiteral("sub"), dir.filePath(QStringLiteral("linkdir"))) &&
        makeSymbolicLink(QStringLiteral("nowhere"), dir.filePath(QStringLiteral("broken.dg")));

    const QStringList patterns{QStringLiteral("*.dg")};
    // Without links, on Windows, A.dg was written over a.dg, the same file.
    const QStringList files =
        links ? QStringList{"A.dg", "a.dg", "b.dg", "link.dg"} : QStringList{"a.dg", "b.dg"};
    const QStringList subdirectories =
        links ? QStringList{"linkdir", "sub"} : QStringList{QStringLiteral("sub")};
    ListingUpdater updater;
    for (const DirectoryListing& listing :
         {readDirectory(root.path(), patterns), updater.list(root.path(), patterns)}) {
        QVERIFY(listing.readable);
        QCOMPARE(*listing.filesMatching(patterns.at(0)), files);
        QCOMPARE(listing.subdirectories, subdirectories);
        QVERIFY(!listing.filesMatching(QStringLiteral("*.*")));
    }
    for (const DirectoryListing& listing :
         {readDirectory(dir.filePath(QStringLiteral("gone")), patterns),
          updater.list(dir.filePath(QStringLiteral("gone")), patterns)}) {
        QVERIFY(!listing.readable);
        QCOMPARE(listing.problem, QStringLiteral("Path not found"));
    }
}

// Files and directories come, go, are renamed and change kind, a few at a
// time or most of them at once, and the system hands the names out in an
// order that changes now and then; after each round the updated lists must
// be those of a fresh reading, and an unchanged directory gives the same
// lists.
void ListingTest::updatesMatchFreshReadings()
{
    QTemporaryDir root;
    const QDir dir(root.path());
    QRandomGenerator random(20261206);
    int reordering = 0; // none, a few names moved, all shuffled
    const auto scan = [&](const QString& path, const EntryVisitor& visit) {
        std::vector<std::pair<std::string, bool>> entries;
        const QString problem = scanDirectory(path, [&](std::string_view name, bool directory) {
            entries.emplace_back(name, directory);
        });
        for (size_t moved = 0; reordering == 1 && moved < 5 && entries.size() > 1; ++moved)
            std::swap(entries[random.bounded(static_cast<quint32>(entries.size()))],
                      entries[random.bounded(static_cast<quint32>(entries.size()))]);
        if (reordering == 2)
            std::shuffle(entries.begin(), entries.end(), random);
        for (const auto& [name, directory] : entries)
            visit(name, directory);
        return problem;
    };
    const QStringList extensions{"dg", "DG", "csv", "txt", "km", "3d", "xyz", "odg", ""};
    const auto someName = [&] {
        const QString extension = extensions.at(random.bounded(extensions.size()));
        const QString stem = QStringLiteral("t%1").arg(random.bounded(400));
        return extension.isEmpty() ? stem : stem + QLatin1Char('.') + extension;
    };
    QStringList patterns{kDataFilesWithReadOnly, kConvertPatterns.at(0)};
    ListingUpdater updater(scan);
    for (int round = 0; round < 40; ++round) {
        reordering = round % 5 == 4 ? 2 : round % 3;
        const int changes = round % 10 == 9 ? 600 : static_cast<int>(random.bounded(25));
        for (int change = 0; change < changes; ++change) {
            const QString path = dir.filePath(someName());
            switch (random.bounded(4)) {
            case 0:
                QDir(path).removeRecursively();
                QFile::remove(path);
                break;
            case 1:
                if (!QFileInfo::exists(path))
                    dir.mkdir(path);
                break;
            case 2:
                QFile::rename(path, dir.filePath(someName()));
                break;
            default:
                QFile(path).open(QIODevice::WriteOnly); // fails on a directory
            }
        }
        if (round % 7 == 6)
            patterns[1] = kConvertPatterns.at(static_cast<size_t>(round % 4));
        const DirectoryListing updated = updater.list(root.path(), patterns);
        const DirectoryListing fresh = readDirectory(root.path(), patterns);
        QCOMPARE(updated.subdirectories, fresh.subdirectories);
        for (const QString& pattern : patterns)
            QCOMPARE(*updated.filesMatching(pattern), *fresh.filesMatching(pattern));
        reordering = 0;
        const DirectoryListing again = updater.list(root.path(), patterns);
        QVERIFY(again.matching.at(0).names.isSharedWith(updated.matching.at(0).names));
    }
}

QTEST_GUILESS_MAIN(ListingTest)
#include "tst_listing.moc"
