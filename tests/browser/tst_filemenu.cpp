// The "&File" menu's housekeeping: directories, the selected file's
// deletion, printing and printer set-up, on real temporary directories.

#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "browser/Browser.h"
#include "browser/DirectoryList.h"
#include "browser/FileList.h"
#include "browser/FileMenu.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

void clickFile(FileList* list, const QString& name)
{
    const QModelIndex index =
        list->model()->index(static_cast<int>(list->names().indexOf(name)), 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

void openFileMenu(MainWindowHarness& harness)
{
    Q_EMIT harness.ui().mnuFiles->aboutToShow();
}

} // namespace

class FileMenuTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void deleteItemFollowsTheSelection();
    void createDirectory_data();
    void createDirectory();
    void createDirectoryCancelledChangesNothing();
    void removeDirectory_data();
    void removeDirectory();
    void deleteSelectedFile_data();
    void deleteSelectedFile();
    void deleteAfterDirectoryChangeNamesTheSelectedFile();
    void deletionErrorKeepsFileAndSelection();
    void printOpensTheTrialInTheTextEditor();
    void printerSetupOpensTheDialog();
};

void FileMenuTest::deleteItemFollowsTheSelection()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.start();
    openFileMenu(harness);
    QVERIFY(!harness.ui().mnuOpen[3]->isEnabled());
    clickFile(harness.ui().filDatafiles, QStringLiteral("walk1.dg"));
    openFileMenu(harness);
    QVERIFY(harness.ui().mnuOpen[3]->isEnabled());
}

void FileMenuTest::createDirectory_data()
{
    // clang-format off
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("created");
    QTest::addColumn<QString>("failure");

    QTest::newRow("plain name") << "Session 2" << "Session 2" << "";
    QTest::newRow("name with a path") << "old/archive" << "old/archive" << "";
    QTest::newRow("shell characters") << "a;$(touch x)'b'" << "a;$(touch x)'b'" << "";
    QTest::newRow("exists") << "old" << "" << "A file or directory of that name exists.";
    QTest::newRow("a file of that name") << "walk1.dg" << "" << "A file or directory of that name exists.";
    QTest::newRow("missing parent") << "none/new" << "" << "Path not found";
    // clang-format on
}

void FileMenuTest::createDirectory()
{
    QFETCH(QString, name);
    QFETCH(QString, created);
    QFETCH(QString, failure);
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    makeDirectory(harness.dataFile(QStringLiteral("old")));
    harness.start();
    harness.messages.inputAnswers.push_back(name);

    harness.ui().mnuOpen[1]->trigger();
    QCOMPARE(harness.messages.inputs.size(), size_t(1));
    QCOMPARE(harness.messages.inputs.front().prompt,
             QStringLiteral("Enter subdirectory name for directory, ") + harness.dataDir.toLower() +
                 QStringLiteral(", or press Cancel"));
    QCOMPARE(harness.messages.inputs.front().title, QStringLiteral("Make a subdirectory."));
    QCOMPARE(harness.state().DataDir, harness.dataDir);
    if (failure.isEmpty()) {
        QVERIFY(QFileInfo(harness.dataFile(created)).isDir());
        QVERIFY(harness.messages.boxes.empty());
        QVERIFY(harness.waitForLists());
        if (!created.contains(QLatin1Char('/')))
            QVERIFY(harness.ui().dirSelect->entryLabels().contains(created));
    } else {
        QCOMPARE(harness.messages.boxes.size(), size_t(1));
        QVERIFY(harness.messages.boxes.front().text.endsWith(failure));
        QCOMPARE(harness.messages.boxes.front().icon, MessageIcon::Exclamation);
    }
}

void FileMenuTest::createDirectoryCancelledChangesNothing()
{
    MainWindowHarness harness;
    harness.start();
    harness.ui().mnuOpen[1]->trigger();
    QVERIFY(QDir(harness.dataDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    QVERIFY(harness.messages.boxes.empty());
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
    QVERIFY(harness.waitForLists());
    harness.messages.answers.push_back(answer);

    harness.ui().mnuOpen[2]->trigger();
    const MessageBox& question = harness.messages.boxes.front();
    QCOMPARE(question.text, QStringLiteral("Do you want to remove the current directory, ") +
                                sub.toLower() +
                                QStringLiteral("?\nNote, it must be empty of files."));
    QCOMPARE(question.title, QStringLiteral("Remove directory"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(question.icon, MessageIcon::Question);

    const bool removed = empty && answer == MessageAnswer::Yes;
    QCOMPARE(QFileInfo::exists(sub), !removed);
    QCOMPARE(harness.state().DataDir, removed ? harness.dataDir : sub);
    QCOMPARE(QDir::currentPath(), removed ? harness.dataDir : sub);
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.ui().dirSelect->path(), removed ? harness.dataDir : sub);
    QCOMPARE(harness.ui().dirSelect->entryLabels().contains(QStringLiteral("Sub")), !removed);
    if (!empty) {
        QCOMPARE(harness.messages.boxes.size(), size_t(2));
        QCOMPARE(harness.messages.boxes.back().text,
                 QStringLiteral("Directory, ") + sub.toLower() +
                     QStringLiteral(", was not empty.\nIt was not removed."));
        QCOMPARE(harness.messages.boxes.back().icon, MessageIcon::Exclamation);
    }
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
    clickFile(harness.ui().filDatafiles, QStringLiteral("walk1.dg"));
    harness.messages.answers.push_back(answer);

    harness.ui().mnuOpen[3]->trigger();
    const MessageBox& question = harness.messages.boxes.front();
    QCOMPARE(question.text, QStringLiteral("Confirm deletion of file: 'walk1.dg'."));
    QCOMPARE(question.title, QStringLiteral("Delete file"));
    QCOMPARE(question.buttons, MessageButtons::OkCancel);
    QCOMPARE(question.icon, MessageIcon::Exclamation);

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

    openFileMenu(harness);
    QVERIFY(harness.ui().mnuOpen[3]->isEnabled());
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
    QCOMPARE(harness.messages.boxes.size(), size_t(2));
    const MessageBox& error = harness.messages.boxes.back();
    QCOMPARE(
        error.text,
        QStringLiteral("File could not be deleted.  It may be open, in use or write-protected."));
    QCOMPARE(error.title, QStringLiteral("Deletion Error"));
    QCOMPARE(error.icon, MessageIcon::Exclamation);
    QVERIFY(QFile::exists(locked));
    QCOMPARE(harness.state().TrialPath, QStringLiteral("locked.dg"));
}

void FileMenuTest::printOpensTheTrialInTheTextEditor()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("Walk1.dg"));
    harness.start();
    harness.ui().mnuPrint->trigger();
    QCOMPARE(harness.messages.texts(), QStringList{"No file was selected."});
    QCOMPARE(harness.messages.boxes.front().title, QStringLiteral("Print file"));
    QCOMPARE(harness.messages.boxes.front().icon, MessageIcon::Information);
    QVERIFY(harness.starter.requests.empty());

    clickFile(harness.ui().filDatafiles, QStringLiteral("Walk1.dg"));
    harness.ui().mnuPrint->trigger();
    const StartRequest& request = harness.starter.last();
    QCOMPARE(request.kind, StartKind::Shell);
    QCOMPARE(request.program, QStringLiteral("notepad.exe"));
    QCOMPARE(request.arguments, QStringList{"Walk1.dg"});
    QCOMPARE(request.workingDirectory, harness.dataDir);
    QCOMPARE(request.showCode, 1);
    QCOMPARE(request.commandText, QStringLiteral("notepad.exe Walk1.DG"));
}

void FileMenuTest::printerSetupOpensTheDialog()
{
    MainWindowHarness harness;
    harness.start();
    harness.ui().mnnPrintSetup->trigger();
    QCOMPARE(harness.messages.printerSetups, 1);
}

QTEST_MAIN(FileMenuTest)
#include "tst_filemenu.moc"
