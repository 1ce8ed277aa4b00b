// The .DG header rewrite: line 3 field by field and the file streamed
// through in pieces of every size; then on real files the backup, the
// temporary file, and a failure at every step, made real or injected into
// the file layer, each leaving the trial's file byte for byte as it was.

#include "TestFiles.h"
#include "dgoptions/DgFileNames.h"
#include "dgoptions/DgRewrite.h"
#include "dgoptions/HeaderRewriter.h"
#include "platform/PosixFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

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

// The bytes of a regular file; nothing for anything else, which might block.
QByteArray bytesOf(const QString& path)
{
    return S_ISREG(statusOf(path).st_mode) ? readFile(path) : QByteArray();
}

// A data directory holding walk1.dg and an older backup of it.
struct DataDir {
    QTemporaryDir root;
    QString path = root.filePath(QStringLiteral("data"));
    UniqueFd held; // a lock another save holds

    explicit DataDir(const QByteArray& trial = dg(kThird))
    {
        writeFile(file("walk1.dg"), trial);
        writeFile(file("walk1.DG!"), "older backup");
    }
    ~DataDir() { setMode(".", 0700); }
    QString file(const char* name) const { return path + QLatin1Char('/') + QLatin1String(name); }
    bool setMode(const char* name, mode_t mode) const
    {
        return ::chmod(QFile::encodeName(file(name)).constData(), mode) == 0;
    }
    QStringList entries() const
    {
        return QDir(path).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot,
                                    QDir::Name);
    }
};

// Puts something in the rewrite's way; false when this user cannot.
using Obstacle = bool (*)(DataDir&);

// Makes one call of the file layer fail.
template <FileCall call, int errnoValue>
bool fault(DataDir&)
{
    setFaultInjector([](FileCall made) { return made == call ? errnoValue : 0; });
    return true;
}

} // namespace

Q_DECLARE_METATYPE(Obstacle)

class DgRewriteTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void header_data();
    void header();
    void rewrite_data();
    void rewrite();
    void caseTwinsKeepTheirOwnFiles();
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

void DgRewriteTest::rewrite_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("trial");
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<Result>("result");
    QTest::addColumn<QString>("error"); // number and description; DATA is the directory
    const QByteArray good = dg(kThird);
    const Obstacle none = [](DataDir&) { return true; };
    const auto row = [&](const char* name, const QByteArray& trial, Obstacle obstacle, Result result, const char* error) {
        QTest::newRow(name) << trial << obstacle << result << QString::fromLatin1(error);
    };

    row("saved: an older temporary file goes, the protection stays", good, [](DataDir& d) { writeFile(d.file("walk1.D$$"), "older"); return d.setMode("walk1.dg", 0440); }, Result::Saved, "");
    row("links refused: the backup is a copy", good, fault<FileCall::Link, EPERM>, Result::Saved, "");
    row("file system that cannot flush directories", good, fault<FileCall::FlushDirectory, EINVAL>, Result::Saved, "");
    row("directory flush fails", good, fault<FileCall::FlushDirectory, EIO>, Result::Unflushed, "57 Device I/O error: DATA");
    row("no trial file: nothing created", {}, [](DataDir& d) { return QFile::remove(d.file("walk1.dg")); }, Result::TrialMissing, "");
    row("trial is a directory", {}, [](DataDir& d) { return QFile::remove(d.file("walk1.dg")) && QDir().mkdir(d.file("walk1.dg")); }, Result::Failed, "75 Path/File access error: walk1.dg");
    row("trial is a named pipe", {}, [](DataDir& d) { return QFile::remove(d.file("walk1.dg")) && ::mkfifo(QFile::encodeName(d.file("walk1.dg")).constData(), 0600) == 0; }, Result::Failed, "75 Path/File access error: walk1.dg");
    row("trial being saved: its temporary file stays", good, [](DataDir& d) {
        writeFile(d.file("walk1.D$$"), "being written");
        d.held = UniqueFd(::open(QFile::encodeName(d.file("walk1.dg")).constData(), O_RDONLY));
        return lockExclusively(d.held.get()) == LockResult::Locked; }, Result::Failed, "55 File already open: walk1.dg is being saved");
    row("directory under the temporary name", good, [](DataDir& d) { return QDir().mkdir(d.file("walk1.D$$")); }, Result::Failed, "58 File already exists: walk1.D$$");
    row("link to the trial under the temporary name", good, [](DataDir& d) { return QFile::link(d.file("walk1.dg"), d.file("walk1.D$$")); }, Result::Failed, "58 File already exists: walk1.D$$");
    row("file of two lines", head(kThird).chopped(kThird.size() + 2), none, Result::Failed, "62 Input past end of file: walk1.dg");
    row("line 3 not text", dg(kThird.left(20) + '\0' + kThird.mid(21)), none, Result::Failed, "13 Type mismatch: walk1.dg");
    row("field 13 overflows", dg(kThird.left(60) + "32768"), none, Result::Failed, "6 Overflow: walk1.dg");
    row("directory under the backup name", good, [](DataDir& d) { return QFile::remove(d.file("walk1.DG!")) && QDir().mkdir(d.file("walk1.DG!")); }, Result::ChangesKept, "75 Path/File access error: walk1.DG!");
    row("rename refused", good, fault<FileCall::Rename, EBUSY>, Result::ChangesKept, "75 Path/File access error: walk1.dg");
    row("read-only data directory", good, [](DataDir& d) { return permissionsAreEnforced() && d.setMode(".", 0500); }, Result::Failed, "70 Permission denied: walk1.D$$");
    row("read-only file system", good, fault<FileCall::Create, EROFS>, Result::Failed, "70 Permission denied: walk1.D$$");
    row("unreadable trial", good, [](DataDir& d) { return permissionsAreEnforced() && d.setMode("walk1.dg", 0200); }, Result::Failed, "70 Permission denied: walk1.dg");
    row("flush of the new copy fails", good, fault<FileCall::Flush, EIO>, Result::Failed, "57 Device I/O error: walk1.D$$");
    row("close of the new copy fails", good, fault<FileCall::Close, EDQUOT>, Result::Failed, "61 Disk full: walk1.D$$");
    row("disk full", good, fault<FileCall::Write, ENOSPC>, Result::Failed, "61 Disk full: walk1.D$$");
    // clang-format on
}

// A save leaves the new file under the trial's name and the previous one
// as the only backup; anything else leaves every file as it was, the
// older backup included, and names the file in the way.
void DgRewriteTest::rewrite()
{
    QFETCH(QByteArray, trial);
    QFETCH(Obstacle, obstacle);
    QFETCH(Result, result);
    QFETCH(QString, error);
    DataDir data(trial);
    if (!obstacle(data))
        QSKIP("this user cannot put this obstacle in the way");
    const QStringList before = data.entries();
    const QByteArray olderBackup = bytesOf(data.file("walk1.DG!"));
    const QByteArray olderTemporary = bytesOf(data.file("walk1.D$$"));
    const mode_t mode = statusOf(data.file("walk1.dg")).st_mode;
    const RewriteOutcome outcome = // X reversed and Panning chosen
        rewriteDgFile({data.file("walk1.dg"), data.file("walk1.D$$"), data.file("walk1.DG!")},
                      {1, 4});
    setFaultInjector(nullptr);

    QCOMPARE(outcome.result, result);
    const QString number = outcome.error ? QString::number(outcome.error.number) + u' ' : QString();
    QCOMPARE(number + outcome.error.description, error.replace(QStringLiteral("DATA"), data.path));
    QCOMPARE(statusOf(data.file("walk1.dg")).st_mode, mode);
    data.setMode("walk1.dg", 0600);
    if (result == Result::Saved || result == Result::Unflushed) {
        QCOMPARE(readFile(data.file("walk1.dg")), dg(kPanned));
        QCOMPARE(readFile(data.file("walk1.DG!")), trial);
        QCOMPARE(data.entries(), QStringList({"walk1.DG!", "walk1.dg"}));
        return;
    }
    QCOMPARE(bytesOf(data.file("walk1.dg")), trial);
    const QByteArray backup = bytesOf(data.file("walk1.DG!"));
    QVERIFY(backup == olderBackup || (result == Result::ChangesKept && backup == trial));
    if (result == Result::ChangesKept) {
        QCOMPARE(readFile(data.file("walk1.D$$")), dg(kPanned));
        QFile::remove(data.file("walk1.D$$"));
    }
    QCOMPARE(bytesOf(data.file("walk1.D$$")), olderTemporary);
    QCOMPARE(data.entries(), before);
}

// Two trials whose names differ only in letter case each keep their own
// temporary and backup files; the trial's file is the one the user picked,
// else the one spelt like the trial, else one in any letter case.
void DgRewriteTest::caseTwinsKeepTheirOwnFiles()
{
    DataDir data;
    QFile::rename(data.file("walk1.dg"), data.file("Walk1.Dg"));
    writeFile(data.file("WALK1.D$$"), "another trial's");
    writeFile(data.file("DUP.DG"), dg(kThird));
    writeFile(data.file("dup.dg"), dg("    2    5"));
    const auto save = [&](const char* trial, const char* listed) {
        const DgFileNames names = dgFileNames(data.path, trial, listed);
        return rewriteDgFile(names.paths, {1, 4}).result == Result::Saved ? names.paths.trial
                                                                          : QString();
    };

    QCOMPARE(save("walk1", "walk1.km"), data.file("Walk1.Dg"));
    QCOMPARE(save("DUP", "DUP.DG"), data.file("DUP.DG"));
    QCOMPARE(save("dup", "dup.dg"), data.file("dup.dg"));
    QCOMPARE(save("dup", "DUP.KM"), data.file("dup.dg"));
    QCOMPARE(readFile(data.file("DUP.DG!")), dg(kThird));
    QCOMPARE(readFile(data.file("dup.DG!")), dg("    2    4" + kZeros));
    QCOMPARE(readFile(data.file("WALK1.D$$")), "another trial's");
    QCOMPARE(data.entries().join(u' '),
             "DUP.DG DUP.DG! WALK1.D$$ Walk1.DG! Walk1.Dg dup.DG! dup.dg walk1.DG!");
}

QTEST_GUILESS_MAIN(DgRewriteTest)
#include "tst_dgrewrite.moc"
