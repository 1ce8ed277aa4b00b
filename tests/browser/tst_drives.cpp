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

// The harness's main window over two drives: the temporary root, which holds
// the data directory, and root/other. Only drives whose root exists are listed.
struct TwoDrives {
    MainWindowHarness harness;
    QString first = harness.path({}).chopped(1);
    QString other = harness.path(QStringLiteral("other"));

    TwoDrives()
    {
        makeDirectory(other);
        harness.start();
        harness.ui().drvDrives->setSource([this] {
            QList<Drive> drives;
            for (const QString& root : {first, other}) {
                if (QFileInfo(root).isDir())
                    drives.append({root, QDir::toNativeSeparators(root)});
            }
            return drives;
        });
        harness.ui().drvDrives->rememberDirectory(harness.dataDir); // as start-up did
    }
    void expectDataDirectory(const QString& directory)
    {
        QCOMPARE(harness.state().DataDir, directory);
        QCOMPARE(QDir::currentPath(), directory);
        QCOMPARE(harness.ui().lblPath->text(), "Current path:\n" + directory.toLower());
    }
};

} // namespace

class DrivesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void driveChangeProblemAndRecovery();
};

void DrivesTest::driveChangeProblemAndRecovery()
{
    TwoDrives drives;
    DriveList* list = drives.harness.ui().drvDrives;
    QVERIFY(QDir(drives.other).removeRecursively()); // the medium is taken out

    chooseDrive(list, drives.other);
    const MessageBox problem{
        QStringLiteral("There was a drive problem.\nError was: Path not found"), kApplicationTitle,
        MessageButtons::Ok, MessageIcon::Critical};
    QCOMPARE(drives.harness.messages.boxes, std::vector<MessageBox>{problem});
    drives.expectDataDirectory(drives.harness.dataDir);
    QCOMPARE(list->drives(), QStringList{drives.first}); // re-read
    QCOMPARE(list->drive(), drives.first);

    makeDirectory(drives.other); // back again: listed at the next refresh
    drives.harness.ui().cmdRefresh->click();
    drives.harness.selectTrial(QStringLiteral("walk1"), QStringLiteral("DG"));
    chooseDrive(list, drives.other);
    drives.expectDataDirectory(drives.other);
    QCOMPARE(drives.harness.state().TrialName, QString());
    QCOMPARE(list->drive(), drives.other);
    chooseDrive(list, drives.first); // each drive keeps its own directory
    drives.expectDataDirectory(drives.harness.dataDir);
    QCOMPARE(drives.harness.messages.boxes.size(), size_t(1));
}

QTEST_MAIN(DrivesTest)
#include "tst_drives.moc"
