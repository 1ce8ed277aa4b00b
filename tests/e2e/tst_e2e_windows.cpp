// The Windows build's own starts, with the real starter, the real settings
// store (the registry) and the Windows stand-in under a companion's name:
// the command line each start gives it, the directory it runs in, the
// settings it reads, the exit code a watched start reports, the system's
// description of a start that cannot be made, and the drive letters of the
// drive list.

#include "Clicks.h"
#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "browser/DriveList.h"
#include "core/Settings.h"
#include "platform/HostStarter.h"
#include "platform/QtSettingsStore.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTest>

#include <memory>
#include <optional>

using namespace kadrix;
using namespace kadrix::test;

namespace {

const int kStartTimeout = 60000;

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A command line split as a Windows program's startup code splits off its
// own name: quoted up to the next quote, else up to the first blank; the
// blanks after it belong to neither part.
QStringList programAndRest(const QString& line)
{
    const bool quoted = line.startsWith(QLatin1Char('"'));
    qsizetype end = quoted ? line.indexOf(QLatin1Char('"'), 1) : line.indexOf(QLatin1Char(' '));
    if (end < 0)
        end = line.size();
    const QString program = line.mid(quoted ? 1 : 0, end - (quoted ? 1 : 0));
    qsizetype rest = end + (quoted ? 1 : 0);
    while (rest < line.size() && line.at(rest) == QLatin1Char(' '))
        ++rest;
    return {program, line.mid(rest)};
}

// A start of `program` on WALK1.DG in `directory`, the shell's or a command.
StartRequest startOnTrial(bool shellStart, const QString& program, const QString& directory)
{
    const QString file = QStringLiteral("WALK1.DG");
    return {.kind = shellStart ? StartKind::Shell : StartKind::Command,
            .program = program,
            .arguments = {file},
            .workingDirectory = directory,
            .commandText = native(program) + QLatin1Char(' ') + file,
            .parameterText = file};
}

// The main window over the real starter of this system. The stand-in lies
// in the program directory under the name `companion`; walk1.dg lies in a
// data directory whose name holds blanks; the real settings store holds
// both directories, as the companions read them.
struct StandInRun {
    explicit StandInRun(const QString& companion)
        : companionPath(harness.progDir + QLatin1Char('/') + companion)
    {
        harness.dataDir = harness.path(QStringLiteral("my trial data"));
        makeDirectory(harness.dataDir);
        harness.addDataFile(QStringLiteral("walk1.dg"));
        QFile::remove(companionPath);
        copied = QFile::copy(qEnvironmentVariable("KADRIX_WINSTANDIN"), companionPath);
        // The window starts from the settings as the registry gives them back.
        for (const auto& [key, directory] :
             {std::pair{kDataDirKey, harness.dataDir}, std::pair{kProgDirKey, harness.progDir}}) {
            QtSettingsStore store;
            store.saveSetting(kSettingsApplication, kSettingsSection, key, directory);
            harness.setSetting(key,
                               store.getSetting(kSettingsApplication, kSettingsSection, key, {}));
        }
    }
    // A companion that has just ended may hold its directories a moment
    // longer: they are removed once they can be.
    ~StandInRun()
    {
        const QString root = harness.root.path();
        harness.root.setAutoRemove(false);
        owned.reset();
        if (!QTest::qWaitFor([&root] { return QDir(root).removeRecursively(); }, kStartTimeout))
            qWarning("%s could not be removed", qPrintable(root));
    }
    StandInRun(const StandInRun&) = delete;
    StandInRun& operator=(const StandInRun&) = delete;

    FakeMessages starterMessages;
    std::unique_ptr<Starter> starter = makeHostStarter(starterMessages);
    std::optional<MainWindowHarness> owned{std::in_place, starter.get()};
    MainWindowHarness& harness = *owned;
    QString companionPath;
    bool copied = false;
};

} // namespace

class EndToEndWindowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();
    void companionSeesItsStart_data();
    void companionSeesItsStart();
    void watchedStartReportsTheExitCode_data();
    void watchedStartReportsTheExitCode();
    void missingProgramIsReportedInTheSystemsWords_data();
    void missingProgramIsReportedInTheSystemsWords();
    void driveListShowsTheDriveLetters();

private:
    // The stand-in's one record of the start just made.
    QJsonObject onlyRecord();

    QTemporaryDir logDir_;
    QString log_;
};

void EndToEndWindowsTest::initTestCase()
{
    if (qEnvironmentVariable("KADRIX_WINSTANDIN").isEmpty())
        QSKIP("The Windows stand-in was not built: the mingw-w64 cross compiler is missing");
    log_ = logDir_.filePath(QStringLiteral("standin.log"));
    qputenv("KADRIX_STANDIN_LOG", QFile::encodeName(log_));
}

void EndToEndWindowsTest::cleanup()
{
    qunsetenv("KADRIX_STANDIN_EXIT");
    QFile::remove(log_);
}

// The settings saved here leave the test run's registry as they found it.
void EndToEndWindowsTest::cleanupTestCase()
{
    QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings"),
              QSettings::NativeFormat)
        .remove(kSettingsApplication);
}

QJsonObject EndToEndWindowsTest::onlyRecord()
{
    if (!QTest::qWaitFor([this] { return readFile(log_).endsWith('\n'); }, kStartTimeout))
        return {};
    const QList<QByteArray> records = readFile(log_).trimmed().split('\n');
    return records.size() == 1 ? QJsonDocument::fromJson(records.constFirst()).object()
                               : QJsonObject();
}

void EndToEndWindowsTest::companionSeesItsStart_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("companion");
    QTest::addColumn<bool>("shellStart");
    QTest::addColumn<QString>("expected"); // the parameter text, or the whole command text

    QTest::newRow("shell: &Animate only") << "&Animate only"
                                          << "Kadrix.exe" << true << "/q /1 /r WALK1.DG";
    QTest::newRow("shell: Scalvane") << "&Refine/scale data (Scalvane)"
                                     << "Scalvane.exe" << true << "WALK1.DG";
    QTest::newRow("command: Command line help") << "Command line help"
                                                << "Kadrix.exe" << false << "<prog>\\Kadrix /?";
    QTest::newRow("command: .DG animated")
        << "&Digitized data (.DG)"
        << "Kadrix.exe" << false << "<prog>\\Kadrix.exe walk1.dg";
}

void EndToEndWindowsTest::companionSeesItsStart()
{
    QFETCH(QString, caption);
    QFETCH(QString, companion);
    QFETCH(bool, shellStart);
    QFETCH(QString, expected);
    StandInRun run(companion);
    QVERIFY(run.copied);
    MainWindowHarness& harness = run.harness;
    harness.start();
    clickFile(harness.ui().filDatafiles, QStringLiteral("walk1.dg"));
    harness.messages.answers = {MessageAnswer::No}; // "View output"
    QObject* control = harness.control(caption);
    QVERIFY2(control, qPrintable(caption));
    control->setProperty("enabled", true);
    QMetaObject::invokeMethod(control, control->inherits("QAction") ? "trigger" : "click");

    const QJsonObject record = onlyRecord();
    QVERIFY2(!record.isEmpty(), readFile(log_).constData());
    const QString line = record.value(QStringLiteral("commandLine")).toString();
    if (shellStart) {
        // The shell names the program its own way; the rest is the parameter text.
        const QStringList parts = programAndRest(line);
        QVERIFY2(parts.at(0).compare(native(run.companionPath), Qt::CaseInsensitive) == 0,
                 qPrintable(line));
        QCOMPARE(parts.at(1), expected);
    } else {
        QCOMPARE(line,
                 QString(expected).replace(QStringLiteral("<prog>"), native(harness.progDir)));
    }
    QCOMPARE(record.value(QStringLiteral("cwd")).toString(), native(harness.dataDir));
    // The companion reads the directories as Windows names, as saved.
    QCOMPARE(record.value(QStringLiteral("Datadir")).toString(), native(harness.dataDir));
    QCOMPARE(record.value(QStringLiteral("Progdir")).toString(), native(harness.progDir));
    QCOMPARE(run.starterMessages.texts(), QStringList());
}

void EndToEndWindowsTest::watchedStartReportsTheExitCode_data()
{
    QTest::addColumn<bool>("shellStart");
    QTest::addColumn<QString>("exitCode");
    QTest::newRow("shell, exit 3") << true << "3";
    QTest::newRow("command, exit 3") << false << "3";
    QTest::newRow("shell, exit 0") << true << "0";
}

void EndToEndWindowsTest::watchedStartReportsTheExitCode()
{
    QFETCH(bool, shellStart);
    QFETCH(QString, exitCode);
    StandInRun run(QStringLiteral("Xfer2DG.exe"));
    QVERIFY(run.copied);
    qputenv("KADRIX_STANDIN_EXIT", exitCode.toLatin1());
    QList<std::pair<qint64, ProgramEnd>> ends;
    connect(run.starter.get(), &Starter::programEnded, this,
            [&ends](qint64 start, const ProgramEnd& end) {
                ends.append({start, end});
            });
    const qint64 start =
        run.starter->startWatched(startOnTrial(shellStart, run.companionPath, run.harness.dataDir));
    QVERIFY(start != 0);
    QTRY_COMPARE_WITH_TIMEOUT(ends.size(), 1, kStartTimeout);
    QCOMPARE(ends.at(0).first, start);
    QCOMPARE(ends.at(0).second.kind, ProgramEnd::Kind::Exited);
    QCOMPARE(ends.at(0).second.code, exitCode.toInt());
    QCOMPARE(onlyRecord().value(QStringLiteral("args")).toVariant().toStringList(),
             QStringList{"WALK1.DG"});
}

void EndToEndWindowsTest::missingProgramIsReportedInTheSystemsWords_data()
{
    QTest::addColumn<bool>("shellStart");
    QTest::newRow("shell") << true;
    QTest::newRow("command") << false;
}

void EndToEndWindowsTest::missingProgramIsReportedInTheSystemsWords()
{
    QFETCH(bool, shellStart);
    StandInRun run(QStringLiteral("Kadrix.exe"));
    const QString missing = run.harness.progDir + QStringLiteral("/Sequator.exe");
    QCOMPARE(run.starter->start(startOnTrial(shellStart, missing, run.harness.dataDir)), 0.0);
    const QStringList texts = run.starterMessages.texts();
    QCOMPARE(texts.size(), 1);
    const QString prefix = QStringLiteral("The program could not be started:\n") + native(missing) +
                           QStringLiteral("\n\n");
    QVERIFY2(texts.at(0).startsWith(prefix), qPrintable(texts.at(0)));
    // The system's own words, then the error's number: the file was not found (2).
    const QString description = texts.at(0).mid(prefix.size());
    QVERIFY2(description.endsWith(QStringLiteral(" (2)")) &&
                 description != QStringLiteral("Error (2)"),
             qPrintable(description));
    QCOMPARE(run.starterMessages.boxes.at(0).icon, MessageIcon::Critical);
    QVERIFY(!QFile::exists(log_));
}

void EndToEndWindowsTest::driveListShowsTheDriveLetters()
{
    MainWindowHarness harness;
    harness.start();
    DriveList* drives = harness.ui().drvDrives;
    QTRY_VERIFY_WITH_TIMEOUT(!drives->isSurveying() && drives->count() > 1, kStartTimeout);
    QStringList shown;
    for (int i = 0; i < drives->count(); ++i)
        shown.append(drives->itemText(i));
    for (const QString& root : {QStringLiteral("C:/"), QStringLiteral("Z:/")}) {
        const qsizetype row = drives->drives().indexOf(root);
        QVERIFY2(row >= 0, qPrintable(shown.join(QLatin1Char('|'))));
        // As Windows names it, with no trouble reported.
        QVERIFY2(shown.at(row).startsWith(native(root)) &&
                     !shown.at(row).contains(QLatin1Char('(')),
                 qPrintable(shown.at(row)));
    }
}

QTEST_MAIN(EndToEndWindowsTest)
#include "tst_e2e_windows.moc"
