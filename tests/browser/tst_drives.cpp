// The drive list of the main window: a drive that has gone is reported and
// the browser stays where it was; once the drive is back, choosing it makes
// its directory the data directory, and each drive keeps its own directory.

#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "app/CaptionButton.h"
#include "browser/DriveList.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

// Chooses the drive `root` from the open list, as a user does.
void chooseDrive(DriveList* list, const QString& root)
{
    const int row = static_cast<int>(list->drives().indexOf(root));
    QVERIFY2(row >= 0, qPrintable(root));
    list->showPopup();
    QAbstractItemView* view = list->view();
    const QRect item = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
}

} // namespace

class DrivesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void driveChangeProblemAndRecovery();
};

// Two drives: the temporary root, which holds the data directory, and
// root/other; a drive is listed while its root is there.
void DrivesTest::driveChangeProblemAndRecovery()
{
    MainWindowHarness harness;
    const QString first = harness.path({}).chopped(1);
    const QString other = harness.path(QStringLiteral("other"));
    harness.start();
    DriveList* list = harness.ui().drvDrives;
    list->setSource([&] {
        QList<Drive> drives;
        for (const QString& root : {first, other}) {
            if (QFileInfo(root).isDir())
                drives.append({root, QDir::toNativeSeparators(root)});
        }
        return drives;
    });
    list->rememberDirectory(harness.dataDir); // as start-up did
    const auto expectDataDirectory = [&](const QString& directory) {
        QCOMPARE(harness.state().DataDir, directory);
        QCOMPARE(QDir::currentPath(), directory);
        QCOMPARE(harness.ui().lblPath->text(), "Current path:\n" + directory.toLower());
    };

    makeDirectory(other);
    list->refresh();
    QVERIFY(QDir(other).removeRecursively()); // the medium is taken out
    chooseDrive(list, other);
    const MessageBox problem{
        QStringLiteral("There was a drive problem.\nError was: Path not found"), kApplicationTitle,
        MessageButtons::Ok, MessageIcon::Critical};
    QCOMPARE(harness.messages.boxes, std::vector<MessageBox>{problem});
    expectDataDirectory(harness.dataDir);
    QCOMPARE(list->drives(), QStringList{first}); // re-read
    QCOMPARE(list->drive(), first);

    makeDirectory(other); // back again: listed at the next refresh
    harness.ui().cmdRefresh->click();
    harness.selectTrial(QStringLiteral("walk1"), QStringLiteral("DG"));
    chooseDrive(list, other);
    expectDataDirectory(other);
    QCOMPARE(harness.state().TrialName, QString());
    QCOMPARE(list->drive(), other);
    chooseDrive(list, first); // each drive keeps its own directory
    expectDataDirectory(harness.dataDir);
    QCOMPARE(harness.messages.boxes.size(), size_t(1));
}

QTEST_MAIN(DrivesTest)
#include "tst_drives.moc"
