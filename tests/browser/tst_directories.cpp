// Reading directories for the browser: patterns, and the reader that
// serves the lists away from the user interface and follows the disk.

#include "TestFiles.h"
#include "browser/DirectoryListing.h"
#include "browser/DirectoryReader.h"
#include "browser/FilePattern.h"
#include "browser/FilePatterns.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kadrix;
using kadrix::test::makeDirectory;
using kadrix::test::writeFile;

class DirectoriesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void patternsMatch_data();
    void patternsMatch();
    void requestsAndBurstsAreReadOnce();
    void resultOvertakenByNewerRequestIsDropped();
    void readNowWinsOverOlderReads();
};

void DirectoriesTest::patternsMatch_data()
{
    // clang-format off
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");

    QTest::newRow("extension") << kDataFilesWithReadOnly << "walk.dg" << true;
    QTest::newRow("upper case") << kDataFilesWithReadOnly << "WALK.DG" << true;
    QTest::newRow("read-only type") << kDataFilesWithReadOnly << "walk.km" << true;
    QTest::newRow("without read-only") << kDataFilesWithoutReadOnly << "walk.km" << false;
    QTest::newRow("last extension counts") << kDataFilesWithReadOnly << "walk.dg.bak" << false;
    QTest::newRow("no extension") << kDataFilesWithReadOnly << "dg" << false;
    QTest::newRow("all files, no extension") << kConvertPatterns[3] << "README" << true;
    QTest::newRow("exclude txt") << kConvertPatterns[1] << "notes.txt" << false;
    QTest::newRow("question mark") << "run?.dg" << "RUN1.DG" << true;
    QTest::newRow("question mark, two characters") << "run?.dg" << "run12.dg" << false;
    // clang-format on
}

void DirectoriesTest::patternsMatch()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(FilePattern(pattern).matches(name), matches);
}

void DirectoriesTest::requestsAndBurstsAreReadOnce()
{
    QTemporaryDir root;
    writeFile(root.filePath(QStringLiteral("a.dg")));
    DirectoryReader reader;
    QSignalSpy listed(&reader, &DirectoryReader::listed);
    for (int i = 0; i < 5; ++i)
        reader.read(root.path());
    QVERIFY(reader.isBusy());
    QTRY_VERIFY(!reader.isBusy());
    QCOMPARE(listed.size(), 1);

    // Another program writes ten thousand files: a few listings follow.
    QProcess writer;
    writer.setWorkingDirectory(root.path());
    writer.start(QStringLiteral("sh"),
                 {QStringLiteral("-c"), QStringLiteral("i=0; while [ $i -lt 10000 ]; do "
                                                       ": > f$i.csv; i=$((i+1)); done")});
    QVERIFY(writer.waitForFinished(120000));
    QTRY_COMPARE_WITH_TIMEOUT(reader.lastListing().files.size(), 10001, 20000);
    QVERIFY2(listed.size() < 100, qPrintable(QString::number(listed.size())));
}

void DirectoriesTest::resultOvertakenByNewerRequestIsDropped()
{
    QTemporaryDir root;
    writeFile(root.filePath(QStringLiteral("one/a.dg")));
    writeFile(root.filePath(QStringLiteral("two/b.dg")));
    DirectoryReader reader;
    QSignalSpy listed(&reader, &DirectoryReader::listed);
    reader.read(root.filePath(QStringLiteral("one")));
    QTest::qWait(0); // the first read starts
    reader.read(root.filePath(QStringLiteral("two")));
    QTRY_VERIFY(!reader.isBusy());
    QVERIFY(listed.size() >= 1);
    QCOMPARE(listed.last().at(0).value<DirectoryListing>().path,
             root.filePath(QStringLiteral("two")));
    QCOMPARE(reader.lastListing().files, QStringList{"b.dg"});
}

void DirectoriesTest::readNowWinsOverOlderReads()
{
    QTemporaryDir root;
    writeFile(root.filePath(QStringLiteral("a.dg")));
    DirectoryReader reader;
    reader.read(root.path());
    QTest::qWait(0);
    writeFile(root.filePath(QStringLiteral("b.dg")));
    const DirectoryListing now = reader.readNow(root.path());
    QCOMPARE(now.files, (QStringList{"a.dg", "b.dg"}));
    QTRY_VERIFY(!reader.isBusy());
    QCOMPARE(reader.lastListing().files, (QStringList{"a.dg", "b.dg"}));
}

QTEST_GUILESS_MAIN(DirectoriesTest)
#include "tst_directories.moc"
