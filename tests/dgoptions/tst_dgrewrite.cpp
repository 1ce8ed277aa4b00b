// The header rewrite on real files: the backup, the temporary file, and a
// failure at every step that can be made real, each leaving the trial's
// file byte for byte as it was.

#include "TestFiles.h"
#include "dgoptions/DgFileNames.h"
#include "dgoptions/DgRewrite.h"
#include "platform/PosixFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kadrix;
using namespace kadrix::test;
using Result = RewriteOutcome::Result;

Q_DECLARE_METATYPE(kadrix::RewriteOutcome::Result)

namespace {

const QByteArray kOriginal = "Walk, trial 1\r\n"
                             "        24        12\n"
                             "    1    0    3   12    0    0    0    0    0    0    0    0    7\r\n"
                             "    1   109.9    25.0\r\n";
const QByteArray kRewritten =
    "Walk, trial 1\r\n"
    "        24        12\r\n"
    "    2    4    3   12    0    0    0    0    0    0    0    0    7\r\n"
    "    1   109.9    25.0\r\n";
const HeaderChoices kPanningReversed{1, 4};

enum class Obstacle {
    DirectoryAsTemporary,
    LinkAsTemporary,
    DanglingLinkAsTemporary,
    TwoLineFile,
    ThirdLineNotText,
    Field13Overflow,
    TrialIsDirectory,
    DirectoryAsBackup,
    ReadOnlyDirectory,
    UnreadableTrial,
};

// A data directory holding walk1.dg.
struct DataDir {
    QTemporaryDir root;
    QString path = root.filePath(QStringLiteral("data"));

    DataDir(const QByteArray& trial = kOriginal)
    {
        makeDirectory(path);
        writeFile(file(QStringLiteral("walk1.dg")), trial);
    }
    ~DataDir()
    {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner);
    }
    QString file(const QString& name) const { return path + QLatin1Char('/') + name; }
    DgFileNames names() const
    {
        return dgFileNames(path, QStringLiteral("walk1"), QStringLiteral("walk1.dg"));
    }
    QStringList entries() const
    {
        QStringList names =
            QDir(path).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        names.sort();
        return names;
    }
};

struct stat statusOf(const QString& path)
{
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info;
}

// Lowers the largest file this process may write; writes beyond it fail.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
};

} // namespace

class DgRewriteTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void savesKeepingOneBackup();
    void missingTrialChangesNothing();
    void failuresLeaveTheTrialUntouched_data();
    void failuresLeaveTheTrialUntouched();
    void failedWriteLeavesTheTrialUntouched();
    void backupCopyWhereLinksAreImpossible();
    void findsFilesWhateverTheirCase();
};

void DgRewriteTest::savesKeepingOneBackup()
{
    DataDir data;
    writeFile(data.file(QStringLiteral("walk1.DG!")), "older backup");
    writeFile(data.file(QStringLiteral("walk1.D$$")), "older temporary file");
    const QString trial = data.file(QStringLiteral("walk1.dg"));
    ::chmod(QFile::encodeName(trial).constData(), 0440);
    const ino_t previous = statusOf(trial).st_ino;

    const RewriteOutcome outcome = rewriteDgFile(data.names().paths, kPanningReversed);
    QCOMPARE(outcome.result, Result::Saved);
    QCOMPARE(readFile(trial), kRewritten);
    QCOMPARE(readFile(data.file(QStringLiteral("walk1.DG!"))), kOriginal);
    QCOMPARE(statusOf(data.file(QStringLiteral("walk1.DG!"))).st_ino, previous);
    QCOMPARE(data.entries(),
             QStringList({QStringLiteral("walk1.DG!"), QStringLiteral("walk1.dg")}));
    QCOMPARE(statusOf(trial).st_mode & 07777, mode_t(0440));
}

void DgRewriteTest::missingTrialChangesNothing()
{
    DataDir data;
    QFile::remove(data.file(QStringLiteral("walk1.dg")));
    const RewriteOutcome outcome = rewriteDgFile(data.names().paths, kPanningReversed);
    QCOMPARE(outcome.result, Result::TrialMissing);
    QVERIFY(data.entries().isEmpty());
}

void DgRewriteTest::failuresLeaveTheTrialUntouched_data()
{
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<Result>("result");
    QTest::addColumn<int>("errorNumber");

    QTest::newRow("directory under the temporary name")
        << Obstacle::DirectoryAsTemporary << Result::Failed << 58;
    QTest::newRow("link under the temporary name")
        << Obstacle::LinkAsTemporary << Result::Failed << 58;
    QTest::newRow("dangling link under the temporary name")
        << Obstacle::DanglingLinkAsTemporary << Result::Failed << 58;
    QTest::newRow("file of two lines") << Obstacle::TwoLineFile << Result::Failed << 62;
    QTest::newRow("line 3 not text") << Obstacle::ThirdLineNotText << Result::Failed << 13;
    QTest::newRow("field 13 overflows") << Obstacle::Field13Overflow << Result::Failed << 6;
    QTest::newRow("trial is a directory") << Obstacle::TrialIsDirectory << Result::Failed << 75;
    QTest::newRow("directory under the backup name")
        << Obstacle::DirectoryAsBackup << Result::ChangesKept << 75;
    QTest::newRow("read-only data directory")
        << Obstacle::ReadOnlyDirectory << Result::Failed << 70;
    QTest::newRow("unreadable trial") << Obstacle::UnreadableTrial << Result::Failed << 70;
}

void DgRewriteTest::failuresLeaveTheTrialUntouched()
{
    QFETCH(Obstacle, obstacle);
    QFETCH(Result, result);
    QFETCH(int, errorNumber);

    QByteArray trialBytes = kOriginal;
    if (obstacle == Obstacle::TwoLineFile)
        trialBytes = kOriginal.left(kOriginal.indexOf("    1    0"));
    else if (obstacle == Obstacle::ThirdLineNotText)
        trialBytes.replace("   12", QByteArray("\0  12", 5));
    else if (obstacle == Obstacle::Field13Overflow)
        trialBytes.replace("    7\r\n", "32768\r\n");
    DataDir data(trialBytes);
    const QString trial = data.file(QStringLiteral("walk1.dg"));
    const QString temporary = data.file(QStringLiteral("walk1.D$$"));
    const QString elsewhere = data.root.filePath(QStringLiteral("elsewhere"));
    writeFile(elsewhere, "not to be written");

    switch (obstacle) {
    case Obstacle::DirectoryAsTemporary:
        makeDirectory(temporary);
        break;
    case Obstacle::LinkAsTemporary:
        QVERIFY(QFile::link(elsewhere, temporary));
        break;
    case Obstacle::DanglingLinkAsTemporary:
        QVERIFY(QFile::link(data.root.filePath(QStringLiteral("nowhere")), temporary));
        break;
    case Obstacle::TrialIsDirectory:
        QFile::remove(trial);
        makeDirectory(trial);
        break;
    case Obstacle::DirectoryAsBackup:
        writeFile(data.file(QStringLiteral("walk1.DG!/kept")), "kept");
        break;
    case Obstacle::ReadOnlyDirectory:
    case Obstacle::UnreadableTrial:
        if (!permissionsAreEnforced())
            QSKIP("permissions do not stop this user");
        if (obstacle == Obstacle::UnreadableTrial)
            QFile::setPermissions(trial, QFileDevice::WriteOwner);
        else
            QFile::setPermissions(data.path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        break;
    default:
        break;
    }
    const QStringList before = data.entries();

    const RewriteOutcome outcome = rewriteDgFile(data.names().paths, kPanningReversed);
    QCOMPARE(outcome.result, result);
    QCOMPARE(outcome.error.number, errorNumber);
    QVERIFY(!outcome.error.description.isEmpty());
    QFile::setPermissions(trial, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (obstacle != Obstacle::TrialIsDirectory)
        QCOMPARE(readFile(trial), trialBytes);
    QCOMPARE(readFile(elsewhere), QByteArray("not to be written"));
    if (result == Result::ChangesKept) {
        QCOMPARE(readFile(temporary), kRewritten);
        QStringList expected = before + QStringList{QStringLiteral("walk1.D$$")};
        expected.sort();
        QCOMPARE(data.entries(), expected);
    } else {
        QCOMPARE(data.entries(), before);
    }
}

// A write that fails half-way (here: beyond the largest file this process
// may write) removes the half-written copy.
void DgRewriteTest::failedWriteLeavesTheTrialUntouched()
{
    const QByteArray large = kOriginal + QByteArray(256 * 1024, 'x') + "\r\n";
    DataDir data(large);
    RewriteOutcome outcome;
    {
        const FileSizeLimit limit(64 * 1024);
        outcome = rewriteDgFile(data.names().paths, kPanningReversed);
    }
    QCOMPARE(outcome.result, Result::Failed);
    QCOMPARE(readFile(data.file(QStringLiteral("walk1.dg"))), large);
    QCOMPARE(data.entries(), QStringList{QStringLiteral("walk1.dg")});
}

void DgRewriteTest::backupCopyWhereLinksAreImpossible()
{
    DataDir data;
    const QByteArray source = QFile::encodeName(data.file(QStringLiteral("walk1.dg")));
    const QByteArray copy = QFile::encodeName(data.file(QStringLiteral("walk1.DG!")));
    UniqueFd file(::open(source.constData(), O_RDONLY | O_CLOEXEC));
    QVERIFY(file);
    ::lseek(file.get(), 0, SEEK_END); // the copy reads from the start whatever the offset

    QVERIFY(!copyToNewFile(file.get(), 0600, copy));
    QCOMPARE(readFile(QFile::decodeName(copy)), kOriginal);
    QCOMPARE(copyToNewFile(file.get(), 0600, copy).number, 58); // never over an existing file
    QCOMPARE(readFile(QFile::decodeName(copy)), kOriginal);
}

void DgRewriteTest::findsFilesWhateverTheirCase()
{
    DataDir data;
    QFile::rename(data.file(QStringLiteral("walk1.dg")), data.file(QStringLiteral("Walk1.Dg")));
    writeFile(data.file(QStringLiteral("WALK1.dg!")), "older backup");
    writeFile(data.file(QStringLiteral("run.dg")), "lower");
    writeFile(data.file(QStringLiteral("RUN.DG")), "upper");

    const DgFileNames walk = data.names();
    QCOMPARE(walk.paths.trial, data.file(QStringLiteral("Walk1.Dg")));
    QCOMPARE(walk.paths.backup, data.file(QStringLiteral("WALK1.dg!")));
    QCOMPARE(walk.paths.temporary, data.file(QStringLiteral("walk1.D$$")));
    QCOMPARE(walk.shownTrial, QStringLiteral("WALK1.DG"));
    QCOMPARE(walk.shownBackup, QStringLiteral("WALK1.DG!"));

    // Of two files that differ only in case, the one the user picked.
    const QString run = QStringLiteral("run");
    QCOMPARE(dgFileNames(data.path, run, QStringLiteral("run.dg")).paths.trial,
             data.file(QStringLiteral("run.dg")));
    QCOMPARE(dgFileNames(data.path, run, QStringLiteral("run.km")).paths.trial,
             data.file(QStringLiteral("RUN.DG")));
}

QTEST_GUILESS_MAIN(DgRewriteTest)
#include "tst_dgrewrite.moc"
