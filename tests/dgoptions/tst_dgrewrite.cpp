// The .DG header save on real files of a Linux host: the backup, the
// temporary file, and a failure at every step, made real or injected into
// the file layer, each leaving the trial's file byte for byte as it was;
// another program's file put under the trial's name mid-save; links; names
// that are no UTF-8.

#include "TestFiles.h"
#include "TrialTexts.h"
#include "dgoptions/DgFileNames.h"
#include "dgoptions/DgRewrite.h"
#include "dgoptions/HeaderRewriter.h"
#include "dgoptions/OptionsMessages.h"
#include "dgoptions/SaveErrors.h"
#include "platform/NativeNames.h"
#include "platform/PosixFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kadrix;
using namespace kadrix::test;
using Result = RewriteOutcome::Result;

Q_DECLARE_METATYPE(kadrix::HeaderError)
Q_DECLARE_METATYPE(kadrix::RewriteOutcome::Result)

namespace {

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
    UniqueFd held;     // a lock another save holds
    pid_t locker = -1; // a process that holds a lock of its own on the trial

    explicit DataDir(const QByteArray& trial = dg(kThird))
    {
        writeFile(file("walk1.dg"), trial);
        writeFile(file("walk1.DG!"), "older backup");
    }
    ~DataDir()
    {
        setMode(".", 0700);
        if (locker > 0 && ::kill(locker, SIGKILL) == 0)
            ::waitpid(locker, nullptr, 0);
    }
    // A process of its own takes a classic record lock of the whole trial,
    // as another workstation's save does through a share, and holds it.
    bool lockInAnotherProcess()
    {
        const QByteArray trial = QFile::encodeName(file("walk1.dg"));
        int ready[2];
        if (::pipe(ready) != 0 || (locker = ::fork()) < 0)
            return false;
        if (locker == 0) {
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            const int fd = ::open(trial.constData(), O_RDWR);
            if (fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0 && ::write(ready[1], "L", 1) == 1)
                ::pause();
            ::_exit(1);
        }
        ::close(ready[1]);
        char locked = 0;
        const bool done = ::read(ready[0], &locked, 1) == 1;
        ::close(ready[0]);
        return done;
    }
    QString file(const char* name) const { return path + QLatin1Char('/') + QLatin1String(name); }
    bool hardLink(const char* from, const char* to) const
    {
        return ::link(QFile::encodeName(file(from)).constData(),
                      QFile::encodeName(file(to)).constData()) == 0;
    }
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

// Makes one call of the file layer fail, or two.
template <FileCall call, int errnoValue, FileCall also = call, int alsoErrno = errnoValue>
bool fault(DataDir&)
{
    setFaultInjector([](FileCall made) {
        return made == call ? errnoValue : made == also ? alsoErrno : 0;
    });
    return true;
}

// Makes the first of those calls fail.
template <FileCall call, int errnoValue>
bool faultOnce(DataDir&)
{
    static bool made;
    made = false;
    setFaultInjector([](FileCall next) {
        const bool fails = next == call && !made;
        made = made || fails;
        return fails ? errnoValue : 0;
    });
    return true;
}

// Another program that puts a file of its own under the trial's name, by
// a real `mv` in a process of its own, just before the file layer makes
// the call `at`; on a system without /proc when `firstLink` is ENOSYS, on a
// file system that cannot exchange when `exchange` is EINVAL, and the
// second exchange (the undo) failing when `undoFails`.
struct OtherProgram {
    static inline QString from, to;
    static inline FileCall at = FileCall::Link;
    static inline int firstLink = 0, exchange = 0;
    static inline bool undoFails = false;
    static inline int exchanges = 0, links = 0;

    static int act(FileCall call)
    {
        if (call == at && !from.isEmpty())
            QProcess::execute(QStringLiteral("mv"), {std::exchange(from, {}), to});
        if (call == FileCall::Link && ++links == 1)
            return firstLink;
        if (call != FileCall::Exchange)
            return 0;
        return ++exchanges == 2 && undoFails ? EIO : exchange;
    }
};

// Files whose names are any bytes, written and read past every name codec.
QByteArray rawBytes(const QByteArray& path)
{
    QByteArray bytes;
    UniqueFd file(::open(path.constData(), O_RDONLY | O_CLOEXEC));
    char chunk[4096];
    for (ssize_t count = 0; file && (count = readSome(file.get(), chunk, sizeof chunk)) > 0;)
        bytes.append(chunk, count);
    return bytes;
}

void writeRaw(const QByteArray& path, const QByteArray& bytes)
{
    UniqueFd file(::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    QVERIFY(file && writeAll(file.get(), bytes.constData(), size_t(bytes.size())) == 0);
}

} // namespace

Q_DECLARE_METATYPE(Obstacle)
Q_DECLARE_METATYPE(kadrix::FileCall)

class DgRewriteTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rewrite_data();
    void rewrite();
    void caseTwinsKeepTheirOwnFiles();
    void replacedMidSave_data();
    void replacedMidSave();
    void linkedTrial_data();
    void linkedTrial();
    void namesKeepEveryByte_data();
    void namesKeepEveryByte();
};

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

    row("saved: the backup's second name left as the temporary goes, the protection stays", good, [](DataDir& d) { return d.hardLink("walk1.DG!", "walk1.D$$") && d.setMode("walk1.dg", 0440); }, Result::Saved, "");
    row("saved: a copy left that never got the trial's name goes", good, [](DataDir& d) { writeFile(d.file("walk1.D$$"), "older"); return QFile::remove(d.file("walk1.DG!")) && d.hardLink("walk1.dg", "walk1.DG!"); }, Result::Saved, "");
    row("saved: any regular file left as the temporary goes", good, [](DataDir& d) { writeFile(d.file("walk1.D$$"), "older"); return true; }, Result::Saved, "");
    row("links refused: the backup is a copy", good, fault<FileCall::Link, EPERM>, Result::Saved, "");
    row("no /proc: the backup linked by name", good, faultOnce<FileCall::Link, ENOSYS>, Result::Saved, "");
    row("no exchange on this file system: renamed", good, fault<FileCall::Exchange, EINVAL>, Result::Saved, "");
    row("file system that cannot flush directories", good, fault<FileCall::FlushDirectory, EINVAL>, Result::Saved, "");
    row("directory flush fails", good, fault<FileCall::FlushDirectory, EIO>, Result::Unflushed, "57 Device I/O error: DATA");
    row("no trial file: nothing created", {}, [](DataDir& d) { return QFile::remove(d.file("walk1.dg")); }, Result::TrialMissing, "");
    row("trial is a directory", {}, [](DataDir& d) { return QFile::remove(d.file("walk1.dg")) && QDir().mkdir(d.file("walk1.dg")); }, Result::Failed, "75 Path/File access error: walk1.dg");
    row("trial is a named pipe", {}, [](DataDir& d) { return QFile::remove(d.file("walk1.dg")) && ::mkfifo(QFile::encodeName(d.file("walk1.dg")).constData(), 0600) == 0; }, Result::Failed, "75 Path/File access error: walk1.dg");
    row("trial being saved, both read-only: its temporary file stays", good, [](DataDir& d) {
        writeFile(d.file("walk1.D$$"), "being written");
        d.held = UniqueFd(::open(QFile::encodeName(d.file("walk1.dg")).constData(), O_RDONLY));
        return lockExclusively(d.held.get()) == LockResult::Locked && d.setMode("walk1.dg", 0440); }, Result::Failed, "55 File already open: walk1.dg is being saved");
    row("trial is a link: only its target is ever saved", {}, [](DataDir& d) {
        writeFile(d.root.filePath("elsewhere.dg"), dg(kThird));
        return QFile::remove(d.file("walk1.dg")) && QFile::link(d.root.filePath("elsewhere.dg"), d.file("walk1.dg")); }, Result::Failed, "75 Path/File access error: walk1.dg is a link; only the file it leads to is saved");
    row("directory under the temporary name", good, [](DataDir& d) { return QDir().mkdir(d.file("walk1.D$$")); }, Result::Failed, "58 File already exists: walk1.D$$");
    row("link to the trial under the temporary name", good, [](DataDir& d) { return QFile::link(d.file("walk1.dg"), d.file("walk1.D$$")); }, Result::Failed, "58 File already exists: walk1.D$$");
    row("named pipe under the temporary name", good, [](DataDir& d) { return ::mkfifo(QFile::encodeName(d.file("walk1.D$$")).constData(), 0600) == 0; }, Result::Failed, "58 File already exists: walk1.D$$");
    row("trial locked by another process (a lock that shares pass on)", good, [](DataDir& d) { return d.lockInAnotherProcess(); }, Result::Failed, "55 File already open: walk1.dg is being saved");
    row("no locks of the open file: flock", good, fault<FileCall::Lock, EINVAL>, Result::Saved, "");
    row("a share without locks: saved unlocked", good, fault<FileCall::Lock, ENOLCK>, Result::Saved, "");
    row("lock refused otherwise: nothing written", good, fault<FileCall::Lock, EBADF>, Result::Failed, "75 Path/File access error: walk1.dg cannot be locked against other saves");
    row("file of two lines", head(kThird).chopped(kThird.size() + 2), none, Result::Failed, "62 Input past end of file: walk1.dg");
    row("line 3 not text", dg(kThird.left(20) + '\0' + kThird.mid(21)), none, Result::Failed, "13 Type mismatch: walk1.dg");
    row("field 13 overflows", dg(kThird.left(60) + "32768"), none, Result::Failed, "6 Overflow: walk1.dg");
    row("directory under the backup name", good, [](DataDir& d) { return QFile::remove(d.file("walk1.DG!")) && QDir().mkdir(d.file("walk1.DG!")); }, Result::ChangesKept, "75 Path/File access error: walk1.DG!");
    row("exchange refused", good, fault<FileCall::Exchange, EBUSY>, Result::ChangesKept, "75 Path/File access error: walk1.dg");
    row("no exchange, rename refused", good, fault<FileCall::Exchange, ENOSYS, FileCall::Rename, EBUSY>, Result::ChangesKept, "75 Path/File access error: walk1.dg");
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

    // Letter case is ASCII's alone: STRASSE.DG is no spelling of straße.dg.
    const QString strasse = data.path + QStringLiteral("/STRASSE.DG");
    writeFile(strasse, dg(kThird));
    writeFile(data.path + QStringLiteral("/STRAßE.DG"), dg(kThird));
    QCOMPARE(save("straße", "straße.km"), data.path + QStringLiteral("/STRAßE.DG"));
    QCOMPARE(readFile(strasse), dg(kThird));
}

void DgRewriteTest::replacedMidSave_data()
{
    QTest::addColumn<FileCall>("at");
    QTest::addColumn<int>("firstLink");
    QTest::addColumn<int>("exchange");
    QTest::addColumn<bool>("undoFails");

    QTest::newRow("before the backup") << FileCall::Link << 0 << 0 << false;
    QTest::newRow("before the backup, no /proc") << FileCall::Link << ENOSYS << 0 << false;
    QTest::newRow("before the backup, no exchange") << FileCall::Link << 0 << EINVAL << false;
    QTest::newRow("before the exchange") << FileCall::Exchange << 0 << 0 << false;
    QTest::newRow("before the exchange, not given back") << FileCall::Exchange << 0 << 0 << true;
}

// Another program's file put under the trial's name during the save keeps
// it (or, when the undo fails, is where the message says), and the backup
// is the file that was read.
void DgRewriteTest::replacedMidSave()
{
    QFETCH(FileCall, at);
    QFETCH(int, firstLink);
    QFETCH(int, exchange);
    QFETCH(bool, undoFails);
    DataDir data;
    const QByteArray theirs = dg("    2    9");
    writeFile(data.root.filePath(QStringLiteral("new.dg")), theirs);
    OtherProgram::from = data.root.filePath(QStringLiteral("new.dg"));
    OtherProgram::to = data.file("walk1.dg");
    OtherProgram::at = at;
    OtherProgram::firstLink = firstLink;
    OtherProgram::exchange = exchange;
    OtherProgram::undoFails = undoFails;
    OtherProgram::exchanges = OtherProgram::links = 0;
    setFaultInjector(&OtherProgram::act);
    const DgFileNames names = dgFileNames(data.path, QStringLiteral("walk1"), {});
    const RewriteOutcome outcome = rewriteDgFile(names.paths, {1, 4});
    setFaultInjector(nullptr);

    QCOMPARE(outcome.result, undoFails ? Result::ReplacedNotRestored : Result::Replaced);
    QCOMPARE(readFile(data.file("walk1.dg")), undoFails ? dg(kPanned) : theirs);
    QCOMPARE(readFile(data.file("walk1.D$$")), undoFails ? theirs : dg(kPanned));
    QCOMPARE(readFile(data.file("walk1.DG!")), dg(kThird));
    QCOMPARE(replacedMessage(names, !undoFails).text,
             undoFails ? "Another program replaced walk1.dg during the save, and its file could "
                         "not be given that name back: it is in file 'walk1.D$$', and walk1.dg "
                         "holds the changes. The file that was read is kept as walk1.DG!."
                       : "Another program replaced walk1.dg during the save. Its file keeps that "
                         "name; the file that was read is kept as walk1.DG!.\nChanges are in "
                         "file 'walk1.D$$'.");
    // The next save deletes what was left under the temporary name.
    const QByteArray named = readFile(data.file("walk1.dg"));
    QCOMPARE(rewriteDgFile(names.paths, {1, 4}).result, Result::Saved);
    QCOMPARE(readFile(data.file("walk1.DG!")), named);
    QCOMPARE(data.entries(), QStringList({"walk1.DG!", "walk1.dg"}));
}

void DgRewriteTest::linkedTrial_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<Result>("result");
    QTest::addColumn<QString>("message"); // ROOT is the directory that holds data and store

    QTest::newRow("saved through its target, files beside it")
        << "../store/walk1.dg" << Result::Saved
        << "File has been saved as, ROOT/store/walk1.dg original file is "
           "ROOT/store/walk1.DG!.\nwalk1.dg is a link to it.";
    QTest::newRow("through a chain of links")
        << "../store/link.dg" << Result::Saved
        << "File has been saved as, ROOT/store/walk1.dg original file is "
           "ROOT/store/walk1.DG!.\nwalk1.dg is a link to it.";
    QTest::newRow("leading nowhere: a missing trial")
        << "../store/gone.dg" << Result::TrialMissing << "";
    QTest::newRow("to a file without .DG name: refused")
        << "../store/walk1.dat" << Result::Failed
        << "Path/File access error: walk1.dg is a link to ROOT/store/walk1.dat, whose name does "
           "not end in .DG: no backup name can be formed beside it";
}

// A trial that is a symbolic link is saved through the file it leads to,
// the link and the data directory's files staying as they are, or refused
// plainly; never "being saved".
void DgRewriteTest::linkedTrial()
{
    QFETCH(QString, target);
    QFETCH(Result, result);
    QFETCH(QString, message);
    DataDir data;
    const QString store = data.root.filePath(QStringLiteral("store"));
    writeFile(store + QStringLiteral("/walk1.dg"), dg(kThird));
    writeFile(store + QStringLiteral("/walk1.dat"), dg(kThird));
    QVERIFY(::symlink("walk1.dg", QFile::encodeName(store + "/link.dg").constData()) == 0);
    QVERIFY(QFile::remove(data.file("walk1.dg")));
    QVERIFY(::symlink(QFile::encodeName(target).constData(),
                      QFile::encodeName(data.file("walk1.dg")).constData()) == 0);
    const DgFileNames names = dgFileNames(data.path, QStringLiteral("walk1"), {});
    const RewriteOutcome outcome = names.refused ? RewriteOutcome{Result::Failed, names.refused}
                                                 : rewriteDgFile(names.paths, {1, 4});

    QCOMPARE(outcome.result, result);
    QCOMPARE(result == Result::Saved ? savedMessage(names).text : outcome.error.description,
             message.replace(QStringLiteral("ROOT"), QDir(data.root.path()).canonicalPath()));
    const bool saved = result == Result::Saved;
    QCOMPARE(readFile(store + QStringLiteral("/walk1.dg")), saved ? dg(kPanned) : dg(kThird));
    QCOMPARE(QDir(store).entryList(QDir::Files | QDir::System, QDir::Name).join(u' '),
             saved ? "link.dg walk1.DG! walk1.dat walk1.dg" : "link.dg walk1.dat walk1.dg");
    QCOMPARE(bytesOf(store + QStringLiteral("/walk1.DG!")), saved ? dg(kThird) : QByteArray());
    QCOMPARE(data.entries(), QStringList({"walk1.DG!", "walk1.dg"}));
    QVERIFY(S_ISLNK(statusOf(data.file("walk1.dg")).st_mode));
    QCOMPARE(readFile(data.file("walk1.DG!")), "older backup");
}

void DgRewriteTest::namesKeepEveryByte_data()
{
    QTest::addColumn<QByteArray>("picked");
    QTest::addColumn<QByteArray>("other");
    QTest::addColumn<QString>("shown"); // the trial in the message

    QTest::newRow("a\\xff beside a\\uFFFD")
        << QByteArray("a\xff") << QByteArray("a\xef\xbf\xbd") << "A\\xFF";
    QTest::newRow("a\\uFFFD beside a\\xff")
        << QByteArray("a\xef\xbf\xbd") << QByteArray("a\xff") << "A\uFFFD";
}

// A name that is no UTF-8 and a name that looks the same once decoded
// lossily are two trials: the save rewrites the one picked, byte for byte
// under its own name, and leaves the other as it was.
void DgRewriteTest::namesKeepEveryByte()
{
    QFETCH(QByteArray, picked);
    QFETCH(QByteArray, other);
    QFETCH(QString, shown);
    DataDir data;
    const QByteArray directory = QFile::encodeName(data.path) + '/';
    const auto removeAll = qScopeGuard([&] { // which QTemporaryDir cannot name
        for (const QByteArray& name : {picked + ".dg", picked + ".DG!", other + ".dg"})
            ::unlink((directory + name).constData());
    });
    writeRaw(directory + picked + ".dg", dg(kThird));
    writeRaw(directory + other + ".dg", dg(kThird));
    const QString trial = decodeNativeName(picked);
    const DgFileNames names = dgFileNames(data.path, trial, trial + QStringLiteral(".dg"));

    QCOMPARE(rewriteDgFile(names.paths, {1, 4}).result, Result::Saved);
    QCOMPARE(rawBytes(directory + picked + ".dg"), dg(kPanned));
    QCOMPARE(rawBytes(directory + picked + ".DG!"), dg(kThird));
    QCOMPARE(rawBytes(directory + other + ".dg"), dg(kThird));
    QVERIFY(::access((directory + other + ".DG!").constData(), F_OK) != 0);
    QCOMPARE(savedMessage(names).text,
             "File has been saved as, " + shown + ".DG original file is " + shown + ".DG!.");
}

QTEST_GUILESS_MAIN(DgRewriteTest)
#include "tst_dgrewrite.moc"
