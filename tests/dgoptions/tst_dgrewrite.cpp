// The .DG header rewrite: line 3 field by field and the file streamed
// through in pieces of every size; then on real files the backup, the
// temporary file, and a failure at every step that can be made real, each
// leaving the trial's file byte for byte as it was.

#include "TestFiles.h"
#include "dgoptions/DgFileNames.h"
#include "dgoptions/DgRewrite.h"
#include "dgoptions/HeaderRewriter.h"
#include "platform/PosixFiles.h"

#include <QDir>
#include <QFile>
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

Q_DECLARE_METATYPE(kadrix::HeaderError)
Q_DECLARE_METATYPE(kadrix::RewriteOutcome::Result)

namespace {

// Line 3 of the panning example: 1, 0, 3, 12, eight zeros and 7.
const QByteArray kThird = "    1    0    3   12    0    0    0    0    0    0    0    0    7";
const QByteArray kPanned = "    2    4" + kThird.mid(10);
const QByteArray kZeros = QByteArray("    0").repeated(11);
const QByteArray kLine1 = "Walk, trial 1, sagittal view, 50 Hz";
const QByteArray kLine2 = "        24        12    150.00      0.00      0.00    100.00";
const QByteArray kBinary("\0\x1a\xff\t\r\n", 6);

// Lines 1 and 2, then `third`, each ending in CR LF.
QByteArray head(const QByteArray& third)
{
    return kLine1 + "\r\n" + kLine2 + "\r\n" + third + "\r\n";
}

// A whole trial whose line 3 is `third`.
QByteArray dg(const QByteArray& third)
{
    return head(third) + "    1   109.9    25.0\r\n    2   119.7    24.8\r\n";
}

struct stat statusOf(const QString& path)
{
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info;
}

// A data directory holding walk1.dg.
struct DataDir {
    QTemporaryDir root;
    QString path = root.filePath(QStringLiteral("data"));

    explicit DataDir(const QByteArray& trial = dg(kThird)) { writeFile(file("walk1.dg"), trial); }
    ~DataDir() { setMode(".", 0700); }
    QString file(const char* name) const { return path + QLatin1Char('/') + QLatin1String(name); }
    bool setMode(const char* name, mode_t mode) const
    {
        return ::chmod(QFile::encodeName(file(name)).constData(), mode) == 0;
    }
    QStringList entries() const
    {
        return QDir(path).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    }
    // X reversed and Panning chosen.
    RewriteOutcome rewrite() const
    {
        return rewriteDgFile({file("walk1.dg"), file("walk1.D$$"), file("walk1.DG!")}, {1, 4});
    }
};

// Puts something in the rewrite's way; false when this user cannot.
using Obstacle = bool (*)(const DataDir&);

} // namespace

Q_DECLARE_METATYPE(Obstacle)

class DgRewriteTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void header_data();
    void header();
    void savesKeepingOneBackup();
    void failuresLeaveTheTrialUntouched_data();
    void failuresLeaveTheTrialUntouched();
    void backupCopyWhereLinksAreImpossible();
    void findsFilesWhateverTheirCase();
};

void DgRewriteTest::header_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("reverseX");
    QTest::addColumn<int>("refSystem");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<HeaderError>("error");
    const auto ok = HeaderError::None;
    const QByteArray none;

    QTest::newRow("X reversed, panning") << dg(kThird) << 1 << 4 << dg(kPanned) << ok;
    QTest::newRow("grayed, leave unchanged") << dg(kThird) << 2 << 0 << dg(kThird) << ok;
    QTest::newRow("unchecked gives 1") << dg(kPanned) << 0 << 0 << dg("    1" + kPanned.mid(5)) << ok;
    QTest::newRow("past column 65 is dropped") << dg(kThird + "  extra") << 2 << 0 << dg(kThird) << ok;
    QTest::newRow("leading zeros") << dg("00001" + kThird.mid(5)) << 2 << 0 << dg(kThird) << ok;
    QTest::newRow("each field is the number its text begins with")
        << dg("3    " "0002 " " 1\t2 " " -3  " "+4   " "3.5x " "1D2  " "1d-1 " "1.2.3" "1E   " "abc  " "--1  " " -.7 ") << 2 << 0
        << dg("    3" "    2" "   12" "   -3" "    4" "  3.5" "  100" "   .1" "  1.2" "    1" "    0" "    0" "   -1") << ok;
    QTest::newRow("a field Fixed5 cannot write is kept as read")
        << dg(kThird.left(10) + "12.34" "99999" "  1e9" " -1.5" "-9999" + kThird.mid(35, 20) + "1e9") << 2 << 0
        << dg(kThird.left(10) + "12.34" "99999" "  1e9" " -1.5" "-9999" + kThird.mid(35, 20) + "1e9      0") << ok;
    QTest::newRow("short line reads zeros") << dg("    2    5") << 2 << 0 << dg("    2    5" + kZeros) << ok;
    QTest::newRow("empty line 3") << dg("") << 1 << 4 << dg("    2    4" + kZeros) << ok;
    QTest::newRow("field 13 rounded half down to even") << dg(kThird.left(60) + "  2.5") << 2 << 0 << dg(kThird.left(60) + "    2") << ok;
    QTest::newRow("field 13 rounded half up to even") << dg(kThird.left(60) + "  3.5") << 2 << 0 << dg(kThird.left(60) + "    4") << ok;
    QTest::newRow("field 13 negative half") << dg(kThird.left(60) + " -2.5") << 2 << 0 << dg(kThird.left(60) + "   -2") << ok;
    QTest::newRow("field 13 at the 16-bit limit") << dg(kThird.left(60) + "32767") << 2 << 0 << dg(kThird.left(60) + "32767") << ok;
    QTest::newRow("field 13 beyond 16 bits") << dg(kThird.left(60) + "32768") << 2 << 0 << none << HeaderError::Overflow;
    QTest::newRow("line feeds") << kLine1 + "\n" + kLine2 + "\n" + kThird + "\nA\nB\n" << 1 << 4 << head(kPanned) + "A\r\nB\r\n" << ok;
    QTest::newRow("carriage returns") << kLine1 + "\r" + kLine2 + "\r" + kThird + "\rA\rB\r" << 1 << 4 << head(kPanned) + "A\r\nB\r\n" << ok;
    QTest::newRow("mixed, empty lines between") << kLine1 + "\r" + kLine2 + "\n" + kThird + "\r\nA\r\r\nB\n\rC\n\nD" << 1 << 4
        << head(kPanned) + "A\r\n\r\nB\r\n\r\nC\r\n\r\nD\r\n" << ok;
    QTest::newRow("header ends the file without line end") << head(kThird).chopped(2) << 1 << 4 << head(kPanned) << ok;
    QTest::newRow("binary after the header is kept") << head(kThird) + kBinary << 1 << 4 << head(kPanned) + kBinary << ok;
    QTest::newRow("only two lines") << kLine1 + "\r\n" + kLine2 + "\r\n" << 1 << 4 << none << HeaderError::TooFewLines;
    QTest::newRow("two lines without end") << kLine1 + "\n" + kLine2 << 1 << 4 << none << HeaderError::TooFewLines;
    QTest::newRow("empty file") << none << 1 << 4 << none << HeaderError::TooFewLines;
    QTest::newRow("line 3 not text") << dg(kThird.left(20) + '\0' + kThird.mid(21)) << 1 << 4 << none << HeaderError::NotText;
    QTest::newRow("control character past column 65") << dg(kThird + "   \x1a") << 1 << 4 << none << HeaderError::NotText;
    // clang-format on
}

// Every piece size gives the same bytes, line ends split between pieces (a
// CR at the end of one, its LF at the start of the next) included.
void DgRewriteTest::header()
{
    QFETCH(QByteArray, input);
    QFETCH(int, reverseX);
    QFETCH(int, refSystem);
    QFETCH(QByteArray, expected);
    QFETCH(HeaderError, error);

    for (const qsizetype size : {1, 2, 3, 64, 1 << 20}) {
        HeaderRewriter rewriter({reverseX, refSystem});
        QByteArray output;
        for (qsizetype at = 0; at < input.size(); at += size)
            rewriter.feed(QByteArrayView(input).sliced(at, std::min(size, input.size() - at)),
                          output);
        rewriter.finish(output);
        QCOMPARE(rewriter.error(), error);
        if (error == HeaderError::None)
            QCOMPARE(output, expected);
    }
}

// An older backup and temporary file go; the previous file becomes the
// backup (a second name of it) and the trial keeps its permissions.
void DgRewriteTest::savesKeepingOneBackup()
{
    DataDir data;
    writeFile(data.file("walk1.DG!"), "older backup");
    writeFile(data.file("walk1.D$$"), "older temporary file");
    const QString trial = data.file("walk1.dg");
    data.setMode("walk1.dg", 0440);
    const ino_t previous = statusOf(trial).st_ino;

    QCOMPARE(data.rewrite().result, Result::Saved);
    QCOMPARE(readFile(trial), dg(kPanned));
    QCOMPARE(readFile(data.file("walk1.DG!")), dg(kThird));
    QCOMPARE(statusOf(data.file("walk1.DG!")).st_ino, previous);
    QCOMPARE(data.entries().join(QLatin1Char(' ')), QStringLiteral("walk1.dg walk1.DG!"));
    QCOMPARE(statusOf(trial).st_mode & 07777, mode_t(0440));
}

void DgRewriteTest::failuresLeaveTheTrialUntouched_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("trial");
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<Result>("result");
    QTest::addColumn<int>("errorNumber");
    const QByteArray good = dg(kThird);
    const Obstacle none = [](const DataDir&) { return true; };

    QTest::newRow("no trial file: nothing created") << QByteArray() << Obstacle([](const DataDir& d) { return QFile::remove(d.file("walk1.dg")); }) << Result::TrialMissing << 0;
    QTest::newRow("directory under the temporary name") << good << Obstacle([](const DataDir& d) { return QDir().mkdir(d.file("walk1.D$$")); }) << Result::Failed << 58;
    QTest::newRow("link to the trial under the temporary name") << good << Obstacle([](const DataDir& d) { return QFile::link(d.file("walk1.dg"), d.file("walk1.D$$")); }) << Result::Failed << 58;
    QTest::newRow("dangling link under the temporary name") << good << Obstacle([](const DataDir& d) { return QFile::link(d.file("nowhere"), d.file("walk1.D$$")); }) << Result::Failed << 58;
    QTest::newRow("file of two lines") << head(kThird).chopped(kThird.size() + 2) << none << Result::Failed << 62;
    QTest::newRow("line 3 not text") << dg(kThird.left(20) + '\0' + kThird.mid(21)) << none << Result::Failed << 13;
    QTest::newRow("field 13 overflows") << dg(kThird.left(60) + "32768") << none << Result::Failed << 6;
    QTest::newRow("trial is a directory") << QByteArray() << Obstacle([](const DataDir& d) { return QFile::remove(d.file("walk1.dg")) && QDir().mkdir(d.file("walk1.dg")); }) << Result::Failed << 75;
    QTest::newRow("directory under the backup name") << good << Obstacle([](const DataDir& d) { writeFile(d.file("walk1.DG!/kept")); return true; }) << Result::ChangesKept << 75;
    QTest::newRow("read-only data directory") << good << Obstacle([](const DataDir& d) { return permissionsAreEnforced() && d.setMode(".", 0500); }) << Result::Failed << 70;
    QTest::newRow("unreadable trial") << good << Obstacle([](const DataDir& d) { return permissionsAreEnforced() && d.setMode("walk1.dg", 0200); }) << Result::Failed << 70;
    // A full disk: writes beyond the largest file this process may write fail.
    QTest::newRow("disk full half-way") << good + QByteArray(256 * 1024, 'x') << Obstacle([](const DataDir&) {
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 64 * 1024;
        return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && ::setrlimit(RLIMIT_FSIZE, &limit) == 0; }) << Result::Failed << 75;
    // clang-format on
}

void DgRewriteTest::failuresLeaveTheTrialUntouched()
{
    QFETCH(QByteArray, trial);
    QFETCH(Obstacle, obstacle);
    QFETCH(Result, result);
    QFETCH(int, errorNumber);
    DataDir data(trial);
    rlimit fileSizeLimit{};
    ::getrlimit(RLIMIT_FSIZE, &fileSizeLimit);
    if (!obstacle(data))
        QSKIP("this user cannot put this obstacle in the way");
    const QStringList before = data.entries();
    const RewriteOutcome outcome = data.rewrite();
    ::setrlimit(RLIMIT_FSIZE, &fileSizeLimit);

    QCOMPARE(outcome.result, result);
    QCOMPARE(outcome.error.number, errorNumber);
    QCOMPARE(outcome.error.description.isEmpty(), errorNumber == 0);
    data.setMode("walk1.dg", 0600);
    QCOMPARE(readFile(data.file("walk1.dg")), trial);
    if (result == Result::ChangesKept) {
        QCOMPARE(readFile(data.file("walk1.D$$")), dg(kPanned));
        QFile::remove(data.file("walk1.D$$"));
    }
    QCOMPARE(data.entries(), before);
}

// Where the file system has no links the backup is a copy, never made over
// an existing file.
void DgRewriteTest::backupCopyWhereLinksAreImpossible()
{
    DataDir data;
    const QByteArray copy = QFile::encodeName(data.file("walk1.DG!"));
    UniqueFd file(::open(QFile::encodeName(data.file("walk1.dg")).constData(), O_RDONLY));
    QVERIFY(file);
    ::lseek(file.get(), 0, SEEK_END); // the copy reads from the start whatever the offset

    QVERIFY(!copyToNewFile(file.get(), 0600, copy));
    QCOMPARE(copyToNewFile(file.get(), 0600, copy).number, 58);
    QCOMPARE(readFile(QFile::decodeName(copy)), dg(kThird));
}

void DgRewriteTest::findsFilesWhateverTheirCase()
{
    DataDir data;
    QFile::rename(data.file("walk1.dg"), data.file("Walk1.Dg"));
    writeFile(data.file("WALK1.dg!"), "older backup");
    writeFile(data.file("run.dg"), "lower");
    writeFile(data.file("RUN.DG"), "upper");

    const DgFilePaths walk = dgFileNames(data.path, QStringLiteral("walk1"), QString()).paths;
    QCOMPARE(QStringList({walk.trial, walk.temporary, walk.backup}),
             QStringList({data.file("Walk1.Dg"), data.file("walk1.D$$"), data.file("WALK1.dg!")}));
    // Of two files that differ only in case, the one the user picked.
    const QString run = QStringLiteral("run");
    QCOMPARE(dgFileNames(data.path, run, QStringLiteral("run.dg")).paths.trial,
             data.file("run.dg"));
    QCOMPARE(dgFileNames(data.path, run, QStringLiteral("run.km")).paths.trial,
             data.file("RUN.DG"));
}

QTEST_GUILESS_MAIN(DgRewriteTest)
#include "tst_dgrewrite.moc"
