// The "&File" menu's housekeeping: directories and the selected file's
// deletion, on real temporary directories. A ctest entry of its own runs the
// deletions again as the calling user, root included.

#include "Clicks.h"
#include "HostFiles.h"
#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "browser/DirectoryList.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>

using namespace kadrix;
using namespace kadrix::test;

class FileMenuTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void createDirectory_data();
    void createDirectory();
    void removeDirectory_data();
    void removeDirectory();
    void deleteSelectedFile_data();
    void deleteSelectedFile();
};

void FileMenuTest::createDirectory_data()
{
    // clang-format off
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("failure");

    QTest::newRow("cancelled") << "" << "";
    QTest::newRow("plain name") << "Session 2" << "";
    QTest::newRow("name with a path") << "old/archive" << "";
    QTest::newRow("shell characters") << "a;$(touch x)'b'" << "";
    QTest::newRow("exists") << "old" << "A file or directory of that name exists.";
    QTest::newRow("a file of that name") << "walk1.dg" << "A file or directory of that name exists.";
    QTest::newRow("missing parent") << "none/new" << "Path not found";
    // clang-format on
}

void FileMenuTest::createDirectory()
{
    QFETCH(QString, name);
    QFETCH(QString, failure);
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    makeDirectory(harness.dataFile(QStringLiteral("old")));
    harness.start();
    const QStringList before = QDir(harness.dataDir).entryList(QDir::AllEntries);
    harness.messages.inputAnswers.push_back(name);

    harness.ui().mnuOpen[1]->trigger();
    QCOMPARE(harness.messages.inputs.front().prompt,
             QStringLiteral("Enter subdirectory name for directory, ") + harness.dataDir.toLower() +
                 QStringLiteral(", or press Cancel"));
    QCOMPARE(harness.messages.inputs.front().title, QStringLiteral("Make a subdirectory."));
    QCOMPARE(harness.state().DataDir, harness.dataDir);
    if (!failure.isEmpty()) {
        QVERIFY(harness.messages.boxes.front().text.endsWith(failure));
        QCOMPARE(harness.messages.boxes.front().icon, MessageIcon::Exclamation);
    } else if (name.isEmpty()) {
        QCOMPARE(QDir(harness.dataDir).entryList(QDir::AllEntries), before);
    } else {
        QVERIFY(QFileInfo(harness.dataFile(name)).isDir());
        QVERIFY(harness.messages.boxes.empty());
        QVERIFY(harness.waitForLists());
        QCOMPARE(harness.ui().dirSelect->entryLabels().contains(name), !name.contains('/'));
    }
}

void FileMenuTest::removeDirectory_data()
{
    QTest::addColumn<bool>("empty");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::newRow("empty, Yes") << true << MessageAnswer::Yes;
    QTest::newRow("empty, No") << true << MessageAnswer::No;
    QTest::newRow("not empty, Yes") << false << MessageAnswer::Yes;
}

void FileMenuTest::removeDirectory()
{
    QFETCH(bool, empty);
    QFETCH(MessageAnswer, answer);
    MainWindowHarness harness;
    const QString sub = harness.dataFile(QStringLiteral("Sub"));
    makeDirectory(sub);
    if (!empty)
        writeFile(sub + QStringLiteral("/.hidden"), "x");
    harness.start();
    QCOMPARE(harness.ui().dirSelect->setPath(sub).number, 0);
    harness.messages.answers.push_back(answer);

    harness.ui().mnuOpen[2]->trigger();
    QCOMPARE(harness.messages.boxes.front(),
             (MessageBox{QStringLiteral("Do you want to remove the current directory, ") +
                             sub.toLower() + QStringLiteral("?\nNote, it must be empty of files."),
                         QStringLiteral("Remove directory"), MessageButtons::YesNo,
                         MessageIcon::Question}));
    const bool removed = empty && answer == MessageAnswer::Yes;
    const QString expected = removed ? harness.dataDir : sub;
    QCOMPARE(QFileInfo::exists(sub), !removed);
    QCOMPARE(harness.state().DataDir, expected);
    QCOMPARE(QDir::currentPath(), expected);
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.ui().dirSelect->path(), expected);
    QCOMPARE(harness.ui().dirSelect->entryLabels().contains(QStringLiteral("Sub")), !removed);
    if (!empty)
        QCOMPARE(harness.messages.boxes.back(),
                 (MessageBox{QStringLiteral("Directory, ") + sub.toLower() +
                                 QStringLiteral(", was not empty.\nIt was not removed."),
                             kApplicationTitle, MessageButtons::Ok, MessageIcon::Exclamation}));
}

void FileMenuTest::deleteSelectedFile_data()
{
    // clang-format off
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<QString>("protection"); // "file": no write permission for anyone; "directory"
    QTest::addColumn<bool>("elsewhere");     // the data directory changed after the choice

    QTest::newRow("OK") << MessageAnswer::Ok << "" << false;
    QTest::newRow("Cancel") << MessageAnswer::Cancel << "" << false;
    QTest::newRow("after a directory change: the whole path") << MessageAnswer::Ok << "" << true;
    QTest::newRow("read-only file, whoever runs the program") << MessageAnswer::Ok << "file" << false;
    if (permissionsAreEnforced())
        QTest::newRow("write-protected directory") << MessageAnswer::Ok << "directory" << false;
    // clang-format on
}

void FileMenuTest::deleteSelectedFile()
{
    QFETCH(MessageAnswer, answer);
    QFETCH(QString, protection);
    QFETCH(bool, elsewhere);
    MainWindowHarness harness;
    const QString walk1 = harness.dataFile(QStringLiteral("walk1.dg"));
    for (const char* name : {"walk1.dg", "WALK1.DG", "other/walk1.dg"})
        harness.addDataFile(QString::fromLatin1(name));
    if (protection == QLatin1String("file"))
        QFile::setPermissions(walk1, QFileDevice::ReadOwner | QFileDevice::ReadOther);
    harness.start();
    Q_EMIT harness.ui().mnuFiles->aboutToShow();
    QVERIFY(!harness.ui().mnuOpen[3]->isEnabled());
    clickFile(harness.ui().filDatafiles, QStringLiteral("walk1.dg"));
    Q_EMIT harness.ui().mnuFiles->aboutToShow();
    QVERIFY(harness.ui().mnuOpen[3]->isEnabled());
    if (elsewhere)
        QCOMPARE(harness.ui().dirSelect->setPath(harness.dataFile("other")).number, 0);
    const QFileDevice::Permissions open = QFile::permissions(harness.dataDir);
    if (protection == QLatin1String("directory"))
        QFile::setPermissions(harness.dataDir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    harness.messages.answers.push_back(answer);

    harness.ui().mnuOpen[3]->trigger();
    QFile::setPermissions(harness.dataDir, open);
    QCOMPARE(harness.messages.boxes.front(),
             (MessageBox{"Confirm deletion of file: '" +
                             (elsewhere ? QDir::toNativeSeparators(walk1) : "walk1.dg") + "'.",
                         QStringLiteral("Delete file"), MessageButtons::OkCancel,
                         MessageIcon::Exclamation}));
    const bool refused = !protection.isEmpty();
    const bool deleted = answer == MessageAnswer::Ok && !refused;
    if (refused)
        QCOMPARE(
            harness.messages.boxes.back(),
            (MessageBox{"File could not be deleted.  It may be open, in use or write-protected.",
                        QStringLiteral("Deletion Error"), MessageButtons::Ok,
                        MessageIcon::Exclamation}));
    QCOMPARE(QFile::exists(walk1), !deleted);
    QVERIFY(QFile::exists(harness.dataFile("other/walk1.dg")));
    // Its twin in another letter case stays, where it is another file.
    QVERIFY(namesIgnoreLetterCase() || QFile::exists(harness.dataFile("WALK1.DG")));
    QCOMPARE(harness.state().TrialPath, deleted ? QString() : QStringLiteral("walk1.dg"));
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.ui().filDatafiles->names().contains("walk1.dg"), !deleted || elsewhere);
    harness.ui().mnnPrintSetup->trigger(); // the same menu's printer set-up
    QCOMPARE(harness.messages.printerSetups, 1);
}

QTEST_MAIN(FileMenuTest)
#include "tst_filemenu.moc"
