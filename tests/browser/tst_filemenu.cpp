// The "&File" menu's housekeeping: directories, the selected file's
// deletion, printing and printer set-up, on real temporary directories.

#include "Clicks.h"
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
    void deleteAfterDirectoryChangeNamesTheSelectedFile();
    void deletionErrorKeepsFileAndSelection();
    void printAndPrinterSetup();
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
    QTest::addColumn<MessageAnswer>("answer");
    QTest::newRow("OK") << MessageAnswer::Ok;
    QTest::newRow("Cancel") << MessageAnswer::Cancel;
}

void FileMenuTest::deleteSelectedFile()
{
    QFETCH(MessageAnswer, answer);
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.addDataFile(QStringLiteral("run2.dg"));
    harness.start();
    Q_EMIT harness.ui().mnuFiles->aboutToShow();
    QVERIFY(!harness.ui().mnuOpen[3]->isEnabled());
    clickFile(harness.ui().filDatafiles, QStringLiteral("walk1.dg"));
    Q_EMIT harness.ui().mnuFiles->aboutToShow();
    QVERIFY(harness.ui().mnuOpen[3]->isEnabled());
    harness.messages.answers.push_back(answer);

    harness.ui().mnuOpen[3]->trigger();
    QCOMPARE(harness.messages.boxes.front(),
             (MessageBox{QStringLiteral("Confirm deletion of file: 'walk1.dg'."),
                         QStringLiteral("Delete file"), MessageButtons::OkCancel,
                         MessageIcon::Exclamation}));
    const bool deleted = answer == MessageAnswer::Ok;
    QCOMPARE(QFile::exists(harness.dataFile(QStringLiteral("walk1.dg"))), !deleted);
    QCOMPARE(harness.state().TrialPath, deleted ? QString() : QStringLiteral("walk1.dg"));
    QCOMPARE(harness.state().TrialName, QStringLiteral("walk1"));
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.ui().filDatafiles->names().contains(QStringLiteral("walk1.dg")), !deleted);
}

void FileMenuTest::deleteAfterDirectoryChangeNamesTheSelectedFile()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.addDataFile(QStringLiteral("other/walk1.dg"));
    harness.start();
    clickFile(harness.ui().filDatafiles, QStringLiteral("walk1.dg"));
    QCOMPARE(harness.ui().dirSelect->setPath(harness.dataFile(QStringLiteral("other"))).number, 0);

    harness.ui().mnuOpen[3]->trigger();
    QCOMPARE(harness.messages.texts(),
             QStringList{QStringLiteral("Confirm deletion of file: '") +
                         harness.dataFile(QStringLiteral("walk1.dg")) + QStringLiteral("'.")});
    QVERIFY(!QFile::exists(harness.dataFile(QStringLiteral("walk1.dg"))));
    QVERIFY(QFile::exists(harness.dataFile(QStringLiteral("other/walk1.dg"))));
}

void FileMenuTest::deletionErrorKeepsFileAndSelection()
{
    if (!permissionsAreEnforced())
        QSKIP("file permissions do not stop this user");
    MainWindowHarness harness;
    const QString locked = harness.dataFile(QStringLiteral("locked.dg"));
    harness.addDataFile(QStringLiteral("locked.dg"));
    QFile::setPermissions(locked, QFileDevice::ReadOwner);
    QFile::setPermissions(harness.dataDir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    harness.start();
    clickFile(harness.ui().filDatafiles, QStringLiteral("locked.dg"));

    harness.ui().mnuOpen[3]->trigger();
    QFile::setPermissions(harness.dataDir,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(harness.messages.boxes.back(),
             (MessageBox{QStringLiteral("File could not be deleted.  It may be open, in use or "
                                        "write-protected."),
                         QStringLiteral("Deletion Error"), MessageButtons::Ok,
                         MessageIcon::Exclamation}));
    QVERIFY(QFile::exists(locked));
    QCOMPARE(harness.state().TrialPath, QStringLiteral("locked.dg"));
}

void FileMenuTest::printAndPrinterSetup()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("Walk1.dg"));
    harness.start();
    harness.ui().mnuPrint->trigger();
    QCOMPARE(harness.messages.boxes.front(),
             (MessageBox{QStringLiteral("No file was selected."), QStringLiteral("Print file"),
                         MessageButtons::Ok, MessageIcon::Information}));
    QVERIFY(harness.starter.requests.empty());

    clickFile(harness.ui().filDatafiles, QStringLiteral("Walk1.dg"));
    harness.ui().mnuPrint->trigger();
    QCOMPARE(harness.starter.last(), (StartRequest{StartKind::Shell,
                                                   QStringLiteral("notepad.exe"),
                                                   {"Walk1.dg"},
                                                   harness.dataDir,
                                                   kShowNormal,
                                                   QStringLiteral("notepad.exe Walk1.DG")}));

    harness.ui().mnnPrintSetup->trigger();
    QCOMPARE(harness.messages.printerSetups, 1);
}

QTEST_MAIN(FileMenuTest)
#include "tst_filemenu.moc"
