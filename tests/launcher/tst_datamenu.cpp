// The "&Data" menu, its "&Convert data ..." submenu and "Run &Xfer2DG":
// items enabled from the trial's files on the disk, and what each starts.

#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "app/CaptionButton.h"
#include "app/Settings.h"
#include "browser/FileList.h"
#include "launcher/DataMenu.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

QString program(const MainWindowHarness& harness, const QString& name)
{
    return harness.progDir + QLatin1Char('/') + name;
}

} // namespace

class DataMenuTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void openingFollowsTheTrialsFiles_data();
    void openingFollowsTheTrialsFiles();
    void selectDigitizedData_data();
    void selectDigitizedData();
    void refineOffersTheOutput();
    void refineWithoutScalvane();
    void graphEditAndRenumber();
    void renumberWithoutDataFile();
    void unknownItem();
    void runXfer2DGSavesDataDirectoryAndRefreshes();
    void convertSubmenuShowsTheTrialsArielFiles();
    void arielItemAnimatesItsFile();
    void convertItems_data();
    void convertItems();
};

void DataMenuTest::openingFollowsTheTrialsFiles_data()
{
    // clang-format off
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("digitized");
    QTest::addColumn<bool>("cda");

    QTest::newRow("convertible trial without .dg") << QStringList{"walk.csv"} << false << false;
    QTest::newRow("digitized data") << QStringList{"walk.DG", "walk.csv"} << true << false;
    QTest::newRow("cda only") << QStringList{"walk.cda"} << false << true;
    // clang-format on
}

void DataMenuTest::openingFollowsTheTrialsFiles()
{
    QFETCH(QStringList, files);
    QFETCH(bool, digitized);
    QFETCH(bool, cda);
    MainWindowHarness harness;
    for (const QString& file : files)
        harness.addDataFile(file);
    harness.start();
    harness.selectTrial(QStringLiteral("walk"), QStringLiteral("CSV"));
    harness.ui().cmdEdit->setEnabled(true);

    Q_EMIT harness.ui().mnuDatafiles->aboutToShow();
    QVERIFY(harness.ui().mnuDatafile[0]->isEnabled());
    for (size_t i = 1; i < 5; ++i)
        QCOMPARE(harness.ui().mnuDatafile.at(i)->isEnabled(), digitized);
    QCOMPARE(harness.ui().cmdView->isEnabled(), digitized);
    QCOMPARE(harness.ui().cmdAnimate->isEnabled(), digitized);
    QVERIFY(harness.ui().cmdEdit->isEnabled());
    QCOMPARE(harness.ui().mnuConvert[DataMenu::kCdaItem]->isEnabled(), cda);
    QVERIFY(harness.ui().mnuConvert[DataMenu::kAsciiTextItem]->isEnabled());
    QVERIFY(!harness.ui().mnuConvert[0]->isEnabled());
}

void DataMenuTest::selectDigitizedData_data()
{
    // clang-format off
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("trialName");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("message");

    QTest::newRow("none") << QStringList{"walk.csv"} << "" << "Selected file:" << true;
    QTest::newRow("one") << QStringList{"walk1.take2.dg"} << "walk1" << "Current trial is: WALK1" << false;
    QTest::newRow("two") << QStringList{"a.dg", "b.km"} << "" << "Selected file:" << false;
    // clang-format on
}

void DataMenuTest::selectDigitizedData()
{
    QFETCH(QStringList, files);
    QFETCH(QString, trialName);
    QFETCH(QString, label);
    QFETCH(bool, message);
    MainWindowHarness harness;
    harness.start();
    // Files written after the last reading: the item reads the disk afresh.
    for (const QString& file : files)
        harness.addDataFile(file);
    harness.state().TrialPath = QStringLiteral("kept.dg");

    harness.ui().mnuDatafile[0]->trigger();
    QCOMPARE(harness.state().TrialName, trialName);
    QCOMPARE(harness.ui().lblTrial->text(), label);
    QCOMPARE(harness.state().TrialPath, QStringLiteral("kept.dg"));
    QCOMPARE(harness.messages.boxes.size(), size_t(message ? 1 : 0));
    if (message) {
        QCOMPARE(harness.messages.boxes.front().text,
                 QStringLiteral("No datafiles in this directory.\nOpen another directory."));
        QCOMPARE(harness.messages.boxes.front().icon, MessageIcon::Exclamation);
    }
    QVERIFY(harness.ui().filDatafiles->isVisible());
}

void DataMenuTest::refineOffersTheOutput()
{
    MainWindowHarness harness;
    writeFile(program(harness, QStringLiteral("Scalvane.exe")), "stand-in");
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.start();
    harness.selectTrial(QStringLiteral("walk1"), QStringLiteral("DG"));
    harness.messages.answers.push_back(MessageAnswer::No);

    harness.ui().mnuDatafile[1]->trigger();
    QCOMPARE(harness.starter.requests.size(), size_t(1));
    const StartRequest& request = harness.starter.last();
    QCOMPARE(request.kind, StartKind::Shell);
    QCOMPARE(request.arguments, QStringList{"walk1.dg"});
    QCOMPARE(request.commandText, program(harness, QStringLiteral("Scalvane.exe")).toUpper() +
                                      QStringLiteral(" WALK1.DG"));
    QCOMPARE(harness.messages.boxes.front().title, QStringLiteral("View output"));
    QVERIFY(harness.messages.boxes.front().text.contains(QStringLiteral("\nSCALVANE.  If so")));
    QCOMPARE(harness.state().TaskId, 0.0); // RunProgram's own result
}

void DataMenuTest::refineWithoutScalvane()
{
    MainWindowHarness harness;
    harness.start();
    harness.selectTrial(QStringLiteral("walk1"), QStringLiteral("DG"));
    harness.ui().mnuDatafile[1]->trigger();
    QVERIFY(harness.starter.requests.empty());
    QCOMPARE(harness.state().TaskId, 1.0);
    QCOMPARE(harness.messages.texts(),
             QStringList{QStringLiteral("Error opening file: ") +
                         program(harness, QStringLiteral("Scalvane.exe")).toUpper() +
                         QStringLiteral("\n\n\"File not found\"  (53)")});
}

void DataMenuTest::graphEditAndRenumber()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.start();
    harness.selectTrial(QStringLiteral("walk1"), QStringLiteral("CSV"));

    harness.ui().mnuDatafile[2]->trigger();
    QCOMPARE(harness.starter.last().kind, StartKind::Shell);
    QCOMPARE(harness.starter.last().commandText,
             program(harness, QStringLiteral("Kadrix.exe")).toUpper() +
                 QStringLiteral(" WALK1.DG"));
    QCOMPARE(harness.state().TrialPath, QStringLiteral("walk1.dg"));

    harness.ui().mnuDatafile[3]->trigger();
    QCOMPARE(harness.starter.last().kind, StartKind::Command);
    QCOMPARE(harness.starter.last().program, QStringLiteral("Notepad.exe"));
    QCOMPARE(harness.starter.last().commandText, QStringLiteral("Notepad.exe walk1.dg"));
    QCOMPARE(harness.starter.last().showCode, 5);

    harness.ui().mnuDatafile[4]->trigger();
    QCOMPARE(harness.starter.last().kind, StartKind::Command);
    QCOMPARE(harness.starter.last().commandText,
             program(harness, QStringLiteral("Sequator.exe walk1.dg")));
    QCOMPARE(harness.starter.last().arguments, QStringList{"walk1.dg"});
    QCOMPARE(harness.state().ProgName, QStringLiteral("Sequator"));
    QVERIFY(harness.messages.boxes.empty());
}

void DataMenuTest::renumberWithoutDataFile()
{
    MainWindowHarness harness;
    harness.start();
    harness.selectTrial(QStringLiteral("walk1"), QStringLiteral("DG"));
    harness.ui().mnuDatafile[4]->trigger();
    QVERIFY(harness.starter.requests.empty());
    QCOMPARE(harness.messages.boxes.size(), size_t(1));
    QVERIFY(harness.messages.boxes.front().text.startsWith(QStringLiteral("Error opening file: ")));
}

void DataMenuTest::unknownItem()
{
    MainWindowHarness harness;
    harness.start();
    harness.window().dataMenu().mnuDatafile_Click(9);
    QCOMPARE(harness.messages.texts(), QStringList{"Program select error in Datafile menu."});
    QCOMPARE(harness.messages.boxes.front().icon, MessageIcon::None);
}

void DataMenuTest::runXfer2DGSavesDataDirectoryAndRefreshes()
{
    MainWindowHarness harness;
    writeFile(program(harness, QStringLiteral("Xfer2DG.exe")), "stand-in");
    harness.addDataFile(QStringLiteral("walk.csv"));
    harness.start();
    harness.setSetting(kDataDirKey, QStringLiteral("/somewhere/else"));
    harness.selectTrial(QStringLiteral("walk"), QStringLiteral("CSV"));
    harness.addDataFile(QStringLiteral("walk.dg")); // as if written by the converter

    harness.ui().cmdConvert->setEnabled(true);
    harness.ui().cmdConvert->click();
    QCOMPARE(harness.settings.values.value(
                 FakeSettingsStore::keyOf(kSettingsApplication, kSettingsSection, kDataDirKey)),
             harness.dataDir);
    QCOMPARE(harness.starter.last().commandText,
             program(harness, QStringLiteral("Xfer2DG.exe")).toUpper() +
                 QStringLiteral(" WALK.CSV"));
    QCOMPARE(harness.starter.last().arguments, QStringList{"walk.csv"});
    QCOMPARE(harness.state().TrialPath, QStringLiteral("walk.CSV"));
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.ui().filDatafiles->names(), QStringList{"walk.dg"});
}

void DataMenuTest::convertSubmenuShowsTheTrialsArielFiles()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.1t"));
    harness.addDataFile(QStringLiteral("WALK1.3T"));
    harness.start();
    harness.selectTrial(QStringLiteral("walk1"), QStringLiteral("1T"));

    Q_EMIT harness.ui().mnuConverts->aboutToShow();
    Q_EMIT harness.ui().mnuAriel->aboutToShow();
    const auto& items = harness.ui().mnuArielType;
    for (size_t i = 0; i < items.size(); ++i) {
        const bool present = i == 1 || i == 3;
        QCOMPARE(items.at(i)->isVisible(), present);
        QCOMPARE(items.at(i)->isEnabled(), present);
    }

    // Without the .1t file "&1T" stays in the menu, disabled.
    harness.selectTrial(QStringLiteral("run"), QStringLiteral("DG"));
    Q_EMIT harness.ui().mnuConverts->aboutToShow();
    QVERIFY(items[1]->isVisible());
    QVERIFY(!items[1]->isEnabled());
    QVERIFY(!items[3]->isVisible());
}

void DataMenuTest::arielItemAnimatesItsFile()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.3t"));
    harness.start();
    harness.selectTrial(QStringLiteral("walk1"), QStringLiteral("DG"));
    harness.state().OptionSwitches = QStringLiteral("/V1 ");
    harness.window().dataMenu().mnuArielType_Click(3);
    const StartRequest& request = harness.starter.last();
    QCOMPARE(request.kind, StartKind::Shell);
    QCOMPARE(request.arguments, (QStringList{"/a", "walk1.3t"}));
    QCOMPARE(request.commandText, program(harness, QStringLiteral("Kadrix.exe")).toUpper() +
                                      QStringLiteral(" /a WALK1.3T"));
    QVERIFY(harness.state().TrialPath.isEmpty());
}

void DataMenuTest::convertItems_data()
{
    // clang-format off
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");

    QTest::newRow(".cda file") << int(DataMenu::kCdaItem) << "Kadrix.exe /A walk.cda" << "";
    QTest::newRow("ASCII text file") << int(DataMenu::kAsciiTextItem) << "Xfer2DG.exe walk.TXT" << "";
    QTest::newRow("Elite") << 0 << "" << "Not yet implemented!";
    QTest::newRow("Vicon") << int(DataMenu::kViconItem) << "" << "";
    // clang-format on
}

void DataMenuTest::convertItems()
{
    QFETCH(int, index);
    QFETCH(QString, command);
    QFETCH(QString, message);
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk.txt"));
    harness.start();
    harness.selectTrial(QStringLiteral("walk"), QStringLiteral("TXT"));

    harness.window().dataMenu().mnuConvert_Click(index);
    QCOMPARE(harness.starter.requests.size(), size_t(command.isEmpty() ? 0 : 1));
    if (!command.isEmpty()) {
        QCOMPARE(harness.starter.last().kind, StartKind::Command);
        QCOMPARE(harness.starter.last().commandText, program(harness, command));
        QCOMPARE(harness.starter.last().showCode, 5);
    }
    QCOMPARE(harness.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(harness.messages.boxes.front().title, QStringLiteral("Kadrix"));
}

QTEST_MAIN(DataMenuTest)
#include "tst_datamenu.moc"
