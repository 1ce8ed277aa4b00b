// "Run &Xfer2DG" with several convertible files selected: one start after
// another, each as for that file alone, the next once the converter of the
// previous one has ended; a failing converter, a start that cannot be made
// and "Cancel", and what the progress window tells at the end.

#include "Clicks.h"
#include "HostFiles.h"
#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "app/MainControls.h"
#include "classic/CaptionButton.h"
#include "core/Settings.h"
#include "platform/HostStarter.h"
#include "platform/Starter.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace kadrix;
using namespace kadrix::test;

namespace {

void clickWith(FileList* list, const QString& name, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex index = list->model()->index(int(list->names().indexOf(name)), 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualRect(index).center());
}

QWidget* progressWindow(MainWindowHarness& harness)
{
    return harness.window().findChild<QWidget*>(QStringLiteral("ConversionProgress"));
}

QString progressText(MainWindowHarness& harness, const char* name)
{
    auto* label = progressWindow(harness)->findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QString();
}

QString reportOf(MainWindowHarness& harness)
{
    auto* report = progressWindow(harness)->findChild<QPlainTextEdit*>(QStringLiteral("txtReport"));
    return report->isVisibleTo(progressWindow(harness)) ? report->toPlainText() : QString();
}

// Selects a.csv to c.csv as Shift+click does, and asks for the conversion.
void convertThreeFiles(MainWindowHarness& harness)
{
    for (const char* name : {"a.csv", "b.csv", "c.csv", "old.dg"})
        harness.addDataFile(QString::fromLatin1(name));
    harness.start();
    FileList* list = harness.ui().filConverts;
    clickWith(list, QStringLiteral("a.csv"), {});
    clickWith(list, QStringLiteral("c.csv"), Qt::ShiftModifier);
    QCOMPARE(list->selectedNames(), QStringList({"a.csv", "b.csv", "c.csv"}));
    QVERIFY(harness.ui().cmdConvert->isEnabled());
    harness.ui().cmdConvert->click();
}

} // namespace

class ConversionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theTrialIsAlwaysASelectedFile_data();
    void theTrialIsAlwaysASelectedFile();
    void aFailureAndCancelAreReported();
    void aStartThatCannotBeMadeStopsTheRun();
};

void ConversionsTest::theTrialIsAlwaysASelectedFile_data()
{
    QTest::addColumn<QStringList>("clicks"); // "+" before a name: Ctrl+click; "^A": Ctrl+A
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("trial");

    QTest::newRow("Ctrl adds") << QStringList{"a.csv", "+c.csv"} << QStringList{"a.csv", "c.csv"}
                               << "c";
    QTest::newRow("Ctrl takes the trial out")
        << QStringList{"a.csv", "+c.csv", "+c.csv"} << QStringList{"a.csv"} << "a";
    QTest::newRow("never the last")
        << QStringList{"b.csv", "+b.csv"} << QStringList{"b.csv"} << "b";
    QTest::newRow("Ctrl+A") << QStringList{"b.csv", "^A"} << QStringList{"a.csv", "b.csv", "c.csv"}
                            << "b";
}

// Whatever Ctrl takes out, the trial is one of the selected files, and with
// one left "Run &Xfer2DG" makes its single classic start on it.
void ConversionsTest::theTrialIsAlwaysASelectedFile()
{
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, selected);
    QFETCH(QString, trial);
    MainWindowHarness harness;
    writeFile(harness.progDir + "/Xfer2DG.exe", "stand-in");
    for (const char* name : {"a.csv", "b.csv", "c.csv"})
        harness.addDataFile(QString::fromLatin1(name));
    harness.start();
    FileList* list = harness.ui().filConverts;
    for (const QString& click : clicks) {
        if (click == "^A")
            QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        else
            clickWith(list, click.mid(click.startsWith('+')),
                      click.startsWith('+') ? Qt::ControlModifier : Qt::NoModifier);
    }
    QCOMPARE(list->selectedNames(), selected);
    QCOMPARE(harness.state().TrialName, trial);
    if (selected.size() > 1)
        return;
    harness.ui().cmdConvert->click();
    QCOMPARE(harness.starter.requests.size(), size_t(1));
    QCOMPARE(namesToCompare(harness.starter.last().arguments), namesToCompare({trial + ".csv"}));
    QCOMPARE(harness.starter.lastWatched, 0);
    QVERIFY(!progressWindow(harness));
}

// The stand-in converter fails on a.csv and holds on b.csv until the test
// lets it end; Cancel meanwhile leaves c.csv unconverted. The main window
// answers while b.csv is converted.
void ConversionsTest::aFailureAndCancelAreReported()
{
    if (!linuxStandInRuns())
        QSKIP(kLinuxStandIn);
    FakeMessages starterMessages;
    const std::unique_ptr<Starter> starter = makeHostStarter(starterMessages);
    MainWindowHarness harness(starter.get());
    QVERIFY(QFile::copy(qEnvironmentVariable("KADRIX_STANDIN"), harness.progDir + "/Xfer2DG.exe"));
    const QString log = harness.path("standin.log");
    const QString hold = harness.path("hold");
    writeFile(hold);
    qputenv("KADRIX_STANDIN_LOG", QFile::encodeName(log));
    qputenv("KADRIX_STANDIN_FAIL_ON", "a.csv");
    qputenv("KADRIX_STANDIN_HOLD", QFile::encodeName(hold));
    convertThreeFiles(harness);
    QTRY_COMPARE(progressText(harness, "lblCount"), QStringLiteral("Converting 2 of 3"));
    QCOMPARE(progressText(harness, "lblFile"), QStringLiteral("File: b.csv"));
    clickWith(harness.ui().filDatafiles, QStringLiteral("old.dg"), {});
    QCOMPARE(harness.state().TrialName, QStringLiteral("old"));
    progressWindow(harness)->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    QFile::remove(hold);
    QTRY_VERIFY(!reportOf(harness).isEmpty());
    QCOMPARE(reportOf(harness), QStringLiteral("Converted (1):\n    b.csv\n"
                                               "Failed (1):\n    a.csv: exit status 3\n"
                                               "Not converted (1):\n    c.csv\n"
                                               "New .DG files (1):\n    B.DG"));
    QCOMPARE(progressText(harness, "lblCount"), QStringLiteral("Converted 1 of 3"));
    QFile recorded(log);
    QVERIFY(recorded.open(QIODevice::ReadOnly));
    const QStringList records =
        QString::fromUtf8(recorded.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(records.size(), 2);
    for (const QString& record : records)
        QVERIFY2(record.contains(harness.dataDir), qPrintable(record));
    QVERIFY(records.at(1).contains(R"("args":["b.csv"])"));
    QCOMPARE(starterMessages.texts(), QStringList());
    for (const char* name : {"KADRIX_STANDIN_LOG", "KADRIX_STANDIN_FAIL_ON", "KADRIX_STANDIN_HOLD"})
        qunsetenv(name);
}

// Each start is the one a click on the file and "Run &Xfer2DG" make; one
// that cannot be made ends the run, the rest unconverted.
void ConversionsTest::aStartThatCannotBeMadeStopsTheRun()
{
    MainWindowHarness harness;
    writeFile(harness.progDir + "/Xfer2DG.exe", "stand-in");
    convertThreeFiles(harness);
    QTRY_COMPARE(harness.starter.requests.size(), size_t(1));
    QCOMPARE(harness.settings.values.value(
                 FakeSettingsStore::keyOf(kSettingsApplication, kSettingsSection, kDataDirKey)),
             harness.dataDir);
    const StartRequest first = harness.starter.last();
    harness.starter.failing = true;
    harness.starter.endLastWatched({ProgramEnd::Kind::Exited, 0, {}});
    QTRY_VERIFY(!reportOf(harness).isEmpty());
    QCOMPARE(reportOf(harness), QStringLiteral("Converted (1):\n    a.csv\n"
                                               "Failed (1):\n    b.csv: could not be started\n"
                                               "Not converted (1):\n    c.csv\n"
                                               "No new .DG files."));
    clickWith(harness.ui().filConverts, QStringLiteral("a.csv"), {});
    harness.starter.failing = false;
    harness.ui().cmdConvert->click();
    QCOMPARE(namesToCompare(harness.starter.last().arguments), namesToCompare(first.arguments));
    QCOMPARE(harness.starter.last().commandText, first.commandText);
}

QTEST_MAIN(ConversionsTest)
#include "tst_conversions.moc"
