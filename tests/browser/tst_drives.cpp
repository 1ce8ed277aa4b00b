// The drive list of the main window: a drive that has gone, or whose server
// does not answer, is reported and the browser stays where it was; once the
// drive is back, choosing it makes its directory the data directory, and
// each drive keeps its own directory. The survey of the mount table never
// waits for long on a file system, nor asks one again that is still busy.

#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "browser/DriveList.h"
#include "classic/CaptionButton.h"
#include "platform/MountTable.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <mutex>

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

bool surveyed(DriveList* list)
{
    return QTest::qWaitFor([list] { return !list->isSurveying(); }, 10000);
}

} // namespace

class DrivesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsTheMountTable();
    void surveyLeavesSilentFileSystems();
    void failedQuestionsKeepTheDriveListed_data();
    void failedQuestionsKeepTheDriveListed();
    void driveChangeProblemAndRecovery();
};

void DrivesTest::readsTheMountTable()
{
    const QByteArray table = "22 1 0:21 / /proc rw,nosuid - proc proc rw\n"
                             "25 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                             "26 22 0:5 / /proc/sys/fs/binfmt_misc rw - autofs systemd-1 rw\n"
                             "30 1 0:22 / /run rw - tmpfs tmpfs rw\n"
                             "40 25 0:40 / /mnt/lab\\040share rw - nfs4 srv:/exports/lab rw\n"
                             "41 25 0:41 / /media/usb rw master:2 - vfat /dev/sdb1 rw\n"
                             "42 25 0:42 / /media/usb rw - fuse.sshfs me@host:/ rw\n"
                             "43 25 0:43 / /odd\\377 rw - ext4 /dev/sdc1 rw\n"
                             "garbage line\n";
    QStringList roots;
    for (const MountedVolume& volume : parseMountInfo(table))
        roots.append(volume.root + QLatin1Char('=') + QString::fromLatin1(volume.type));
    QCOMPARE(roots,
             (QStringList{"/=ext4", "/run=tmpfs", "/mnt/lab share=nfs4", "/media/usb=fuse.sshfs",
                          QStringLiteral("/odd") + QChar(0xDCFF) + QStringLiteral("=ext4")}));
}

// A probe that never comes back holds its own thread only: the survey goes
// on without it, marks it, and does not ask it again while it is busy.
void DrivesTest::surveyLeavesSilentFileSystems()
{
    struct Gate {
        std::mutex mutex;
        std::condition_variable opened;
        bool open = false;
        int asked = 0;
    };
    auto gate = std::make_shared<Gate>();
    VolumeProbes probes(
        [gate](const MountedVolume& volume) {
            const QString& root = volume.root;
            std::unique_lock lock(gate->mutex);
            if (root != QLatin1String("/hung"))
                return VolumeAnswer{true, root == QLatin1String("/empty") ? 0u : 4096u};
            ++gate->asked;
            gate->opened.wait(lock, [&] { return gate->open; });
            return VolumeAnswer{true, 4096};
        },
        std::chrono::milliseconds(300));
    const QList<MountedVolume> volumes{
        {"/", {}, {}}, {"/empty", {}, {}}, {"/hung", {}, {}}, {"/data", {}, {}}};
    const auto shown = [&] {
        QStringList labels;
        for (const Drive& drive : surveyDrives(volumes, probes, {}))
            labels.append(drive.label + (drive.answering ? "" : " !"));
        return labels;
    };
    const QStringList silent{"/", "/data", "/hung  (not answering) !"};
    QTRY_COMPARE(shown(), silent); // once the others have answered in time
    QTRY_COMPARE(shown(), silent);
    {
        const std::lock_guard lock(gate->mutex);
        QCOMPARE(gate->asked, 1);
        gate->open = true;
    }
    gate->opened.notify_all();
    QTRY_COMPARE(shown(), (QStringList{"/", "/data", "/hung"}));
}

void DrivesTest::failedQuestionsKeepTheDriveListed_data()
{
    QTest::addColumn<int>("error"); // statfs fails with it; 0: the child asking is killed
    QTest::addColumn<QString>("label");
    QTest::newRow("child killed") << 0 << "/share  (not answering)";
    QTest::newRow("connection lost") << int(ENOTCONN) << "/share  (not answering)";
    QTest::newRow("permission denied") << int(EACCES) << "/share  (Permission denied)";
}

// A share that fails the question is listed with its failure, not left out.
void DrivesTest::failedQuestionsKeepTheDriveListed()
{
    QFETCH(int, error);
    QFETCH(QString, label);
    if (error == EACCES && !permissionsAreEnforced())
        QSKIP("directory permissions do not stop this user");
    QTemporaryDir root;
    const QString locked = root.filePath(QStringLiteral("locked"));
    makeDirectory(locked + QStringLiteral("/share"));
    QFile::setPermissions(locked, {});
    VolumeProbes probes(
        [&](const MountedVolume& volume) {
            if (volume.root == QLatin1String("/"))
                return VolumeAnswer{true, 4096};
            if (error == EACCES) // asked for real, by a child
                return askFileSystem({locked + QStringLiteral("/share"), {}, "nfs4"});
            return error == 0 ? answerInChild([] {
                ::raise(SIGKILL);
                return VolumeAnswer{true, 1};
            })
                              : VolumeAnswer{false, 0, error};
        },
        std::chrono::seconds(60));
    QStringList labels;
    for (const Drive& drive : surveyDrives({{"/", {}, {}}, {"/share", {}, "nfs4"}}, probes, {}))
        labels.append(drive.label + (drive.answering ? "" : " !"));
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(labels, (QStringList{"/", label + " !"}));
}

// Two drives: the temporary root, which holds the data directory, and
// root/other; a drive is listed while its root is there.
void DrivesTest::driveChangeProblemAndRecovery()
{
    MainWindowHarness harness;
    const QString first = harness.path({}).chopped(1);
    const QString other = harness.path(QStringLiteral("other"));
    const QString silent = harness.path(QStringLiteral("silent"));
    harness.start();
    DriveList* list = harness.ui().drvDrives;
    list->setSource([=] {
        QList<Drive> drives{{silent, silent + QStringLiteral("  (not answering)"), false}};
        for (const QString& root : {first, other}) {
            if (QFileInfo(root).isDir())
                drives.append({root, QDir::toNativeSeparators(root)});
        }
        return drives;
    });
    QVERIFY(surveyed(list));
    list->rememberDirectory(harness.dataDir); // as start-up did
    const auto expectDataDirectory = [&](const QString& directory) {
        QCOMPARE(harness.state().DataDir, directory);
        QCOMPARE(QDir::currentPath(), directory);
        QCOMPARE(harness.ui().lblPath->text(), "Current path:\n" + directory.toLower());
    };

    makeDirectory(other);
    list->refresh();
    QVERIFY(surveyed(list));
    QVERIFY(QDir(other).removeRecursively()); // the medium is taken out
    chooseDrive(list, other);
    const MessageBox problem{
        QStringLiteral("There was a drive problem.\nError was: Path not found"), kApplicationTitle,
        MessageButtons::Ok, MessageIcon::Critical};
    QCOMPARE(harness.messages.boxes, std::vector<MessageBox>{problem});
    expectDataDirectory(harness.dataDir);
    QVERIFY(surveyed(list));
    QCOMPARE(list->drives(), (QStringList{silent, first})); // re-read
    QCOMPARE(list->drive(), first);

    chooseDrive(list, silent); // a server that does not answer is never waited on
    QCOMPARE(harness.messages.boxes.back().text,
             QStringLiteral("There was a drive problem.\nError was: Device unavailable (") +
                 silent + QStringLiteral(" does not answer)"));
    expectDataDirectory(harness.dataDir);
    QCOMPARE(list->drive(), first);

    makeDirectory(other); // back again: listed at the next refresh
    harness.ui().cmdRefresh->click();
    QVERIFY(surveyed(list));
    harness.selectTrial(QStringLiteral("walk1"), QStringLiteral("DG"));
    chooseDrive(list, other);
    expectDataDirectory(other);
    QCOMPARE(harness.state().TrialName, QString());
    QCOMPARE(list->drive(), other);
    chooseDrive(list, first); // each drive keeps its own directory
    expectDataDirectory(harness.dataDir);
    QCOMPARE(harness.messages.boxes.size(), size_t(2));
}

QTEST_MAIN(DrivesTest)
#include "tst_drives.moc"
