// What the menus show and ask: items enabled and shown from the trial's files
// on the disk at each opening, "&Select digitized data", the settings saved
// by "Run &Xfer2DG", and the dialog of "&Run a program". What each item
// starts is in tst_launcher.

#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "browser/FileList.h"
#include "classic/CaptionButton.h"
#include "core/Settings.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

class MenusTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void openingFollowsTheTrialsFiles_data();
    void openingFollowsTheTrialsFiles();
    void arielItemsFollowTheTrialsFiles();
    void selectDigitizedData_data();
    void selectDigitizedData();
    void runXfer2DGSavesTheDataDirectory();
    void runAProgram_data();
    void runAProgram();
};

void MenusTest::openingFollowsTheTrialsFiles_data()
{
    // clang-format off
    QTest::addColumn<QString>("menu"); // its title
    QTest::addColumn<QString>("trialName");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("controls");
    QTest::addColumn<QList<bool>>("enabled");
    QTest::addColumn<QStringList>("messages");

    const QStringList animate{"&Digitized data (.DG)", "&Refined data (.CN)", "&Filtered data (.KM)", "&Simulated data (.SN)"};
    const QStringList data{"&Refine/scale data (Scalvane)", "&Graph/animate data", "&Edit/view data in ASCII", "Re&number data", "&Edit && convert", "&Animate only", "&Peak Performance"};
    QTest::newRow("&Animate, .cn only") << "&Animate" << "walk1" << QStringList{"walk1.cn"} << animate << QList<bool>{false, true, false, false} << QStringList{};
    QTest::newRow("&Animate, .dg and .km") << "&Animate" << "walk1" << QStringList{"walk1.dg", "WALK1.KM", "walk2.sn"} << animate << QList<bool>{true, false, true, false} << QStringList{};
    QTest::newRow("&Animate, all four") << "&Animate" << "walk1" << QStringList{"walk1.dg", "walk1.cn", "walk1.km", "walk1.sn"} << animate << QList<bool>{true, true, true, true} << QStringList{};
    QTest::newRow("&Animate without a trial") << "&Animate" << "" << QStringList{"walk1.dg"} << animate << QList<bool>{true, true, false, true} << QStringList{"Select a trial from the Data or Conversion menus first."};
    QTest::newRow("&Data without .dg") << "&Data" << "walk" << QStringList{"walk.csv"} << data << QList<bool>{false, false, false, false, false, false, false} << QStringList{};
    QTest::newRow("&Data with .dg") << "&Data" << "walk" << QStringList{"walk.DG", "walk.csv"} << data << QList<bool>{true, true, true, true, true, true, false} << QStringList{};
    QTest::newRow("&Data with .cda") << "&Data" << "walk" << QStringList{"walk.cda"} << data << QList<bool>{false, false, false, false, false, false, true} << QStringList{};
    QTest::newRow("&Programs with .acd") << "&Programs               " << "walk1" << QStringList{"walk1.ACD"} << QStringList{"&Acrospin"} << QList<bool>{true} << QStringList{};
    QTest::newRow("&Programs without") << "&Programs               " << "run2" << QStringList{"walk1.ACD"} << QStringList{"&Acrospin"} << QList<bool>{false} << QStringList{};
    // clang-format on
}

void MenusTest::openingFollowsTheTrialsFiles()
{
    QFETCH(QString, menu);
    QFETCH(QString, trialName);
    QFETCH(QStringList, files);
    QFETCH(QStringList, controls);
    QFETCH(QList<bool>, enabled);
    QFETCH(QStringList, messages);
    MainWindowHarness harness;
    for (const QString& file : files)
        harness.addDataFile(file);
    harness.start();
    harness.selectTrial(trialName, QStringLiteral("CSV"));
    // Each control starts the other way round, so that the opening must set
    // it; an opening refused with a message must leave it.
    for (qsizetype i = 0; i < controls.size(); ++i) {
        QObject* control = harness.control(controls.at(i));
        QVERIFY2(control, qPrintable(controls.at(i)));
        control->setProperty("enabled", messages.isEmpty() != enabled.at(i));
    }
    // The Data menu's first item keeps its state, whatever the others get.
    QAction* select = harness.ui().mnuDatafile[0];
    select->setEnabled(!enabled.first());

    auto* title = qobject_cast<QAction*>(harness.control(menu));
    QVERIFY2(title, qPrintable(menu));
    Q_EMIT title->menu()->aboutToShow();
    QList<bool> states;
    for (const QString& caption : controls)
        states.append(harness.control(caption)->property("enabled").toBool());
    QCOMPARE(states, enabled);
    QCOMPARE(select->isEnabled(), !enabled.first());
    QCOMPARE(harness.messages.texts(), messages);
}

// Each Ariel Dynamics item is shown and enabled by the Convert submenu's
// opening when the trial's file for it is there ("&1T" is always shown);
// the Ariel submenu, opened on its own, then follows the disk for each item.
void MenusTest::arielItemsFollowTheTrialsFiles()
{
    MainWindowHarness harness;
    harness.start();
    harness.selectTrial(QStringLiteral("walk1"), QStringLiteral("DG"));
    const auto& items = harness.ui().mnuArielType;
    for (size_t i = 0; i < items.size(); ++i) {
        const QString file =
            i == 0 ? QStringLiteral("walk1.3d") : QStringLiteral("WALK1.%1T").arg(i);
        harness.addDataFile(file);
        // Names in other letter cases are looked up in the browser's reading.
        harness.ui().cmdRefresh->click();
        QVERIFY(harness.waitForLists());
        Q_EMIT harness.ui().mnuConverts->aboutToShow();
        for (size_t j = 0; j < items.size(); ++j) {
            QCOMPARE(items.at(j)->isVisible(), j == i || j == 1);
            QCOMPARE(items.at(j)->isEnabled(), j == i);
        }
        QVERIFY(QFile::remove(harness.dataFile(file)));
        Q_EMIT harness.ui().mnuAriel->aboutToShow();
        QVERIFY(items.at(i)->isVisible() && !items.at(i)->isEnabled());
    }
}

void MenusTest::selectDigitizedData_data()
{
    // clang-format off
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("trialName");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("none") << QStringList{"walk.csv"} << "" << "Selected file:" << QStringList{"No datafiles in this directory.\nOpen another directory."};
    QTest::newRow("one") << QStringList{"walk1.take2.dg"} << "walk1" << "Current trial is: WALK1" << QStringList{};
    QTest::newRow("two") << QStringList{"a.dg", "b.km"} << "" << "Selected file:" << QStringList{};
    // clang-format on
}

void MenusTest::selectDigitizedData()
{
    QFETCH(QStringList, files);
    QFETCH(QString, trialName);
    QFETCH(QString, label);
    QFETCH(QStringList, messages);
    MainWindowHarness harness;
    harness.start();
    // Files written after the last reading: the item reads the disk afresh.
    for (const QString& file : files)
        harness.addDataFile(file);
    harness.state().TrialPath = QStringLiteral("kept.dg");

    harness.ui().mnuDatafile[0]->trigger();
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.state().TrialName, trialName);
    QCOMPARE(harness.ui().lblTrial->text(), label);
    QCOMPARE(harness.state().TrialPath, QStringLiteral("kept.dg"));
    QCOMPARE(harness.messages.texts(), messages);
    QVERIFY(harness.ui().filDatafiles->isVisible());
}

void MenusTest::runXfer2DGSavesTheDataDirectory()
{
    MainWindowHarness harness;
    harness.start();
    harness.setSetting(kDataDirKey, QStringLiteral("/somewhere/else"));
    harness.ui().cmdConvert->setEnabled(true);
    harness.ui().cmdConvert->click();
    QCOMPARE(harness.settings.values.value(
                 FakeSettingsStore::keyOf(kSettingsApplication, kSettingsSection, kDataDirKey)),
             harness.dataDir);
}

void MenusTest::runAProgram_data()
{
    // clang-format off
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("started");
    QTest::addColumn<bool>("backInDataDir");

    QTest::newRow("cancelled") << "" << false << true;
    QTest::newRow("a program from another directory") << "tools/My Tool" << true << true;
    QTest::newRow("a bare name missing from the program directory") << "Missing.exe" << false << false;
    // clang-format on
}

void MenusTest::runAProgram()
{
    QFETCH(QString, answer);
    QFETCH(bool, started);
    QFETCH(bool, backInDataDir);
    MainWindowHarness harness;
    const QString tool = harness.path(QStringLiteral("tools/My Tool"));
    writeFile(tool, "#!/bin/sh\n");
    harness.start();
    harness.messages.fileAnswers.push_back(answer.contains(QLatin1Char('/')) ? tool : answer);
    QDir::setCurrent(harness.progDir); // as a dialog may leave it

    harness.ui().mnuRun->trigger();
    QCOMPARE(harness.messages.fileDialogs.size(), size_t(1));
    QCOMPARE(harness.messages.fileDialogs.front().initialDirectory, harness.progDir);
    const std::vector<StartRequest> start{
        {StartKind::Command, tool, {}, harness.dataDir, 5, QDir::toNativeSeparators(tool)}};
    QCOMPARE(harness.starter.requests, started ? start : std::vector<StartRequest>{});
    // A name missing from the program directory ends the handler before the
    // data directory is made current again.
    const QString current = backInDataDir ? harness.dataDir : harness.progDir;
    QCOMPARE(harness.ui().dlgOpen.initialDirectory, current);
    QCOMPARE(QDir::currentPath(), current);
}

QTEST_MAIN(MenusTest)
#include "tst_menus.moc"
