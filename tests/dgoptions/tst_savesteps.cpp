// The .DG header save on every host, through its own file layer: a save
// leaves the new file under the trial's name and the file read as its only
// backup; a failure at any step of the file layer, or another program
// holding the trial, leaves the trial byte for byte as it was and says why.

#include "HostFiles.h"
#include "TestFiles.h"
#include "TrialTexts.h"
#include "dgoptions/DgFileNames.h"
#include "dgoptions/DgRewrite.h"
#include "dgoptions/OptionsMessages.h"
#include "platform/PosixFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace kadrix;
using namespace kadrix::test;
using Result = RewriteOutcome::Result;

Q_DECLARE_METATYPE(kadrix::FileCall)

namespace {

FileCall failing = FileCall::Create;

struct DataDir {
    QTemporaryDir root;
    QString file(const char* name) const { return root.filePath(QLatin1String(name)); }
    QStringList entries() const
    {
        return QDir(root.path()).entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    }
    RewriteOutcome save() const // X reversed and Panning chosen
    {
        return rewriteDgFile(dgFileNames(root.path(), QStringLiteral("walk1"), {}).paths, {1, 4});
    }
};

} // namespace

class SaveStepsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void savedWithItsBackup();
    void aFailedStepLosesNothing_data();
    void aFailedStepLosesNothing();
    void aTrialAnotherProgramHoldsIsLeftAlone();
};

void SaveStepsTest::savedWithItsBackup()
{
    DataDir data;
    writeFile(data.file("walk1.dg"), dg(kThird));
    writeFile(data.file("walk1.DG!"), "older backup");
    QCOMPARE(data.save().result, Result::Saved);
    QCOMPARE(readFile(data.file("walk1.dg")), dg(kPanned));
    QCOMPARE(readFile(data.file("walk1.DG!")), dg(kThird));
    QCOMPARE(data.entries(), QStringList({"walk1.DG!", "walk1.dg"}));
    // Saved again: the backup is now the first save's file.
    QCOMPARE(data.save().result, Result::Saved);
    QCOMPARE(readFile(data.file("walk1.DG!")), dg(kPanned));
}

void SaveStepsTest::aFailedStepLosesNothing_data()
{
    QTest::addColumn<FileCall>("call");
    for (const auto& [name, call] : {std::pair{"create", FileCall::Create},
                                     {"write", FileCall::Write},
                                     {"flush", FileCall::Flush},
                                     {"close", FileCall::Close},
                                     {"remove", FileCall::Remove},
                                     {"link", FileCall::Link},
                                     {"rename", FileCall::Rename},
                                     {"exchange", FileCall::Exchange},
                                     {"directory flush", FileCall::FlushDirectory},
                                     {"lock", FileCall::Lock}})
        QTest::newRow(name) << call;
}

// Whichever call fails, with an input/output error: either the save went
// on another way and is whole, or the trial is as it was, the older backup
// too, and the new copy is kept only under the temporary name.
void SaveStepsTest::aFailedStepLosesNothing()
{
    QFETCH(FileCall, call);
    DataDir data;
    writeFile(data.file("walk1.dg"), dg(kThird));
    writeFile(data.file("walk1.DG!"), "older backup");
    failing = call;
    setFaultInjector([](FileCall made) { return made == failing ? EIO : 0; });
    const RewriteOutcome outcome = data.save();
    setFaultInjector(nullptr);

    if (outcome.result == Result::Saved || outcome.result == Result::Unflushed) {
        QCOMPARE(readFile(data.file("walk1.dg")), dg(kPanned));
        QCOMPARE(readFile(data.file("walk1.DG!")), dg(kThird));
        QCOMPARE(data.entries(), QStringList({"walk1.DG!", "walk1.dg"}));
        return;
    }
    QVERIFY2(outcome.error && outcome.error.description.contains(QStringLiteral(": walk1.")),
             qPrintable(outcome.error.description)); // names the file it failed on
    QCOMPARE(readFile(data.file("walk1.dg")), dg(kThird));
    const QByteArray backup = readFile(data.file("walk1.DG!"));
    // The older backup goes, as it always went, before the new one is made.
    const bool atTheBackup = outcome.error.description.endsWith(QStringLiteral("walk1.DG!"));
    QVERIFY(backup == "older backup" || (atTheBackup && backup.isEmpty()) ||
            (outcome.result == Result::ChangesKept && backup == dg(kThird)));
    QStringList expected = QStringList{"walk1.DG!", "walk1.dg"}.mid(backup.isEmpty() ? 1 : 0);
    if (outcome.result == Result::ChangesKept) {
        QCOMPARE(readFile(data.file("walk1.D$$")), dg(kPanned));
        expected.prepend(QStringLiteral("walk1.D$$"));
    }
    QCOMPARE(data.entries(), expected);
}

// Another program that has the trial open and locked: the save fails
// before it writes anything, and the trial is kept as it was.
void SaveStepsTest::aTrialAnotherProgramHoldsIsLeftAlone()
{
    DataDir data;
    writeFile(data.file("walk1.dg"), dg(kThird));
    RewriteOutcome outcome;
    {
        const OtherProgramHolding other(data.file("walk1.dg"));
        if (!other.holds())
            QSKIP("a Linux host's save tests hold the trial from a forked child");
        outcome = data.save();
    }
    QCOMPARE(readFile(data.file("walk1.dg")), dg(kThird));
    QCOMPARE(outcome.result, Result::Failed);
    const MessageBox box = saveErrorMessage(outcome.error, {});
    QCOMPARE(box.title, QStringLiteral("Save error"));
    QVERIFY2(box.text.startsWith(QStringLiteral("Error #  70 was generated by Kadrix95\r"
                                                "Permission denied: walk1.")),
             qPrintable(box.text));
    QCOMPARE(data.entries(), QStringList{"walk1.dg"});
}

QTEST_MAIN(SaveStepsTest)
#include "tst_savesteps.moc"
