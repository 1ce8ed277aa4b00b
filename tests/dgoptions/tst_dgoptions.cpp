// The DG options dialog inside the main window: what each kind of trial
// offers, the switch text OK builds, the save question and the warning,
// the header rewrite's messages, and the menu mark.

#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "app/CaptionButton.h"
#include "browser/Browser.h"
#include "browser/FileList.h"
#include "dgoptions/OptionsCommands.h"
#include "dgoptions/ThreeStateCheckBox.h"
#include "dgoptions/frmDGOptions.h"

#include <QAction>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

const QByteArray kThird = "    2    0    3   12    0    0    0    0    0    0    0    0    7";
const QByteArray kTrial =
    "Walk, trial 1\r\n        24        12\r\n" + kThird + "\r\n    1   109.9\r\n";
const QString kDesignTip = QStringLiteral(
    "Check to reverse X coordinates, uncheck for digitized direction. Leave grayed for no change.");

QByteArray thirdLineOf(const QByteArray& file)
{
    QByteArray line = file.split('\n').value(2);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

void selectTrial(MainWindowHarness& harness, const QString& file)
{
    harness.ui().filDatafiles->refresh();
    harness.waitForLists();
    QVERIFY2(harness.ui().filDatafiles->selectName(file), qPrintable(file));
    harness.window().browser().filDatafiles_Click();
}

frmDGOptions* openOptions(MainWindowHarness& harness)
{
    harness.ui().cmdOptions->click();
    return harness.window().optionsCommands().dialog();
}

// "ref:Panning" is the reference-system button of that caption,
// "optView:2" a button of a group by its index, anything else a name.
QAbstractButton* control(frmDGOptions* dialog, const QString& click)
{
    if (click.startsWith(QLatin1String("ref:"))) {
        for (QRadioButton* button : dialog->controls().optRef) {
            if (button->text().replace(QLatin1String("&&"), QLatin1String("&")) == click.mid(4))
                return button;
        }
        return nullptr;
    }
    const QStringList parts = click.split(QLatin1Char(':'));
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>(parts[0])) {
        if (parts.size() == 1 || button->property("index").toInt() == parts[1].toInt())
            return button;
    }
    return nullptr;
}

QStringList titlesOf(const FakeMessages& messages)
{
    QStringList titles;
    for (const MessageBox& box : messages.boxes)
        titles << box.title;
    return titles;
}

class Fixture {
public:
    Fixture()
    {
        for (const char* name :
             {"walk1.dg", "run2.dg", "walk1.km", "walk1.cn", "jump.3d", "throw.cda", "only.cn"})
            harness.addDataFile(QString::fromLatin1(name), kTrial);
        harness.start();
    }
    QByteArray file(const char* name) const
    {
        return readFile(harness.dataFile(QString::fromLatin1(name)));
    }

    MainWindowHarness harness;
};

} // namespace

class DGOptionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void offersWhatTheTrialAllows_data();
    void offersWhatTheTrialAllows();
    void okBuildsSwitchesAndSaves_data();
    void okBuildsSwitchesAndSaves();
    void cancelAtTheSaveQuestionKeepsTheDialog();
    void closeCancelAndReopen();
    void reverseXClicksAndTooltips();
    void hideMissingDecidesTheMenuMark();
    void trialChangedWhileOpen_data();
    void trialChangedWhileOpen();
    void saveErrorIsReportedAndOkGoesOn_data();
    void saveErrorIsReportedAndOkGoesOn();
};

void DGOptionsTest::offersWhatTheTrialAllows_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("isDG");
    QTest::addColumn<bool>("views");
    QTest::addColumn<bool>("filteredEnabled");
    QTest::addColumn<bool>("filteredShown");
    QTest::addColumn<int>("filteredValue");

    QTest::newRow("DG") << "walk1.dg" << true << false << false << false << 0;
    QTest::newRow("3D") << "jump.3d" << false << true << true << true << 0;
    QTest::newRow("CDA") << "throw.cda" << false << true << false << false << 0;
    QTest::newRow("KM") << "walk1.km" << false << false << false << false << 2;
    QTest::newRow("other") << "walk1.cn" << false << false << false << false << 0;
    QTest::newRow("no trial, from the menu") << "" << false << false << false << false << 0;
}

void DGOptionsTest::offersWhatTheTrialAllows()
{
    QFETCH(QString, file);
    QFETCH(bool, isDG);
    QFETCH(bool, views);
    QFETCH(bool, filteredEnabled);
    QFETCH(bool, filteredShown);
    QFETCH(int, filteredValue);
    Fixture fixture;
    if (!file.isEmpty())
        selectTrial(fixture.harness, file);
    fixture.harness.ui().mnuOption[0]->trigger();
    frmDGOptions* dialog = fixture.harness.window().optionsCommands().dialog();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Refining options"));
    QVERIFY(!dialog->parentWidget());

    const DGOptionsControls& ui = dialog->controls();
    QCOMPARE(dialog->IsDGTrial(), isDG);
    QCOMPARE(ui.optRef[4]->isEnabled(), isDG);
    for (QRadioButton* view : ui.optView)
        QCOMPARE(view->isEnabled(), views);
    QCOMPARE(ui.chkFilteredData->isEnabled(), filteredEnabled);
    QCOMPARE(ui.fraFiltered->isVisible(), filteredShown);
    QCOMPARE(ui.chkFilteredData->Value(), filteredValue);
    for (QAbstractButton* usable : {static_cast<QAbstractButton*>(ui.chkReverseX),
                                    static_cast<QAbstractButton*>(ui.chkHideMissing),
                                    static_cast<QAbstractButton*>(ui.chkReadOnly)})
        QVERIFY(usable->isEnabled());
}

void DGOptionsTest::okBuildsSwitchesAndSaves_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("switches");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QByteArray>("thirdLine");

    const int yes = int(MessageAnswer::Yes);
    const int no = int(MessageAnswer::No);
    const QString ask = QStringLiteral("Save changes");
    const QString saved = QStringLiteral("Kadrix95");
    const QString refine = QStringLiteral("Data Needs Refining");
    const QString refWarning = QStringLiteral("To change the reference system:\n");
    const QString xWarning = QStringLiteral("To have the X coordinates changed:\n");

    QTest::newRow("other trial, nothing touched")
        << "walk1.cn" << QStringList{} << yes << "/V1 " << QStringList{} << "" << kThird;
    QTest::newRow("KM trial") << "walk1.km" << QStringList{} << yes << "/F /V1 " << QStringList{}
                              << "" << kThird;
    QTest::newRow("3-D trial, both filtered")
        << "jump.3d" << QStringList{"chkFilteredData", "optFiltered"} << yes << "/F /V1 /F "
        << QStringList{} << "" << kThird;
    QTest::newRow("3-D trial, top view")
        << "jump.3d" << QStringList{"optView:2"} << yes << "/V3 " << QStringList{} << "" << kThird;
    QTest::newRow("CDA trial, frontal view") << "throw.cda" << QStringList{"optView:1"} << yes
                                             << "/V2 " << QStringList{} << "" << kThird;
    QTest::newRow("other trial: disabled choices do not count")
        << "walk1.cn" << QStringList{"optView:2", "ref:Panning"} << yes << "/V1 " << QStringList{}
        << "" << kThird;
    QTest::newRow("other trial: X, hide, read-only; no question, no warning")
        << "walk1.cn" << QStringList{"chkReverseX", "chkHideMissing", "chkReadOnly"} << yes
        << "/R /Z /V1 /X " << QStringList{} << "" << kThird;
    QTest::newRow("DG, nothing changed, Yes: rewritten with its own values")
        << "walk1.dg" << QStringList{} << yes << "/V1 " << QStringList{ask, saved} << "" << kThird;
    QTest::newRow("DG, read-only, X reversed, Panning, Yes")
        << "walk1.dg" << QStringList{"chkReadOnly", "chkReverseX", "ref:Panning"} << yes
        << "/R /V1 /X /S4 " << QStringList{ask, saved, refine} << refWarning + xWarning
        << QByteArray("    2    4") + kThird.mid(10);
    QTest::newRow("DG, Moving camera, No: nothing written")
        << "walk1.dg" << QStringList{"ref:Moving camera"} << no << "/V1 /S2 "
        << QStringList{ask, refine} << refWarning << kThird;
    QTest::newRow("DG, X left unchecked")
        << "walk1.dg" << QStringList{"chkReverseX", "chkReverseX"} << yes << "/V1 "
        << QStringList{ask, saved, refine} << xWarning << QByteArray("    1") + kThird.mid(5);
    QTest::newRow("DG, Framed & Panning")
        << "walk1.dg" << QStringList{"ref:Framed & Panning"} << yes << "/V1 /S9 "
        << QStringList{ask, saved, refine} << refWarning
        << QByteArray("    2    9") + kThird.mid(10);
}

void DGOptionsTest::okBuildsSwitchesAndSaves()
{
    QFETCH(QString, file);
    QFETCH(QStringList, clicks);
    QFETCH(int, answer);
    QFETCH(QString, switches);
    QFETCH(QStringList, titles);
    QFETCH(QString, warning);
    QFETCH(QByteArray, thirdLine);
    Fixture fixture;
    selectTrial(fixture.harness, file);
    frmDGOptions* dialog = openOptions(fixture.harness);
    QVERIFY(dialog);
    for (const QString& click : clicks) {
        QAbstractButton* button = control(dialog, click);
        QVERIFY2(button, qPrintable(click));
        button->click();
    }
    fixture.harness.messages.answers = {MessageAnswer(answer)};

    dialog->controls().cmdExit->click();
    QCOMPARE(fixture.harness.state().OptionSwitches, switches);
    QCOMPARE(titlesOf(fixture.harness.messages), titles);
    if (titles.contains(QStringLiteral("Kadrix95"))) {
        QCOMPARE(fixture.harness.messages.boxes[1].text,
                 QStringLiteral("File has been saved as, WALK1.DG original file is WALK1.DG!."));
        QCOMPARE(fixture.file("walk1.DG!"), kTrial);
    } else {
        QVERIFY(!QFile::exists(fixture.harness.dataFile(QStringLiteral("walk1.DG!"))));
    }
    if (!warning.isEmpty()) {
        const MessageBox& box = fixture.harness.messages.boxes.back();
        QCOMPARE(box.text,
                 warning + QStringLiteral("\nUse the 'Refine/Scale data' from the 'Data' menu.\n"
                                          "The .CN file will refelect the changes.\n\n"
                                          "Press OK to continue or Cancel to leave data as-is."));
        QCOMPARE(box.icon, MessageIcon::Exclamation);
        QCOMPARE(box.buttons, MessageButtons::Ok);
    }
    QCOMPARE(thirdLineOf(fixture.file("walk1.dg")), thirdLine);
    QTRY_VERIFY(!fixture.harness.window().optionsCommands().dialog());
}

void DGOptionsTest::cancelAtTheSaveQuestionKeepsTheDialog()
{
    Fixture fixture;
    selectTrial(fixture.harness, QStringLiteral("walk1.dg"));
    frmDGOptions* dialog = openOptions(fixture.harness);
    control(dialog, QStringLiteral("ref:Moving camera"))->click();
    fixture.harness.messages.answers = {MessageAnswer::Cancel};

    dialog->controls().cmdExit->click();
    QCOMPARE(fixture.harness.state().OptionSwitches, QStringLiteral("/V1 "));
    QCOMPARE(titlesOf(fixture.harness.messages), QStringList{QStringLiteral("Save changes")});
    QCOMPARE(fixture.file("walk1.dg"), kTrial);
    QTest::qWait(0);
    QCOMPARE(fixture.harness.window().optionsCommands().dialog(), dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(dialog->controls().optRef[2]->isChecked());

    fixture.harness.messages.answers = {MessageAnswer::Yes};
    dialog->controls().cmdExit->click();
    QCOMPARE(fixture.harness.state().OptionSwitches, QStringLiteral("/V1 /S2 "));
    QCOMPARE(thirdLineOf(fixture.file("walk1.dg")), QByteArray("    2    2") + kThird.mid(10));
}

void DGOptionsTest::closeCancelAndReopen()
{
    Fixture fixture;
    selectTrial(fixture.harness, QStringLiteral("walk1.dg"));
    fixture.harness.state().OptionSwitches = QStringLiteral("/R /V2 ");
    frmDGOptions* dialog = openOptions(fixture.harness);
    for (const char* click : {"chkReverseX", "chkHideMissing", "chkReadOnly", "ref:Panning"})
        control(dialog, QString::fromLatin1(click))->click();
    QCOMPARE(openOptions(fixture.harness), dialog); // only brought forward: choices kept
    QVERIFY(dialog->controls().optRef[4]->isChecked());
    dialog->close(); // by its frame: the switches stay as they were
    QTRY_VERIFY(!fixture.harness.window().optionsCommands().dialog());
    QCOMPARE(fixture.harness.state().OptionSwitches, QStringLiteral("/R /V2 "));

    dialog = openOptions(fixture.harness); // a new load starts from the design state
    const DGOptionsControls& ui = dialog->controls();
    QVERIFY(ui.optRef[0]->isChecked() && ui.optView[0]->isChecked());
    QCOMPARE(ui.chkReverseX->Value(), 2);
    QCOMPARE(ui.chkHideMissing->Value() + ui.chkReadOnly->Value(), 0);
    control(dialog, QStringLiteral("ref:Panning"))->click();
    ui.cmdCancel->click();
    QTRY_VERIFY(!fixture.harness.window().optionsCommands().dialog());
    QCOMPARE(fixture.harness.state().OptionSwitches, QString());
    QVERIFY(fixture.harness.messages.boxes.empty());
    QCOMPARE(fixture.file("walk1.dg"), kTrial);
}

void DGOptionsTest::reverseXClicksAndTooltips()
{
    Fixture fixture;
    selectTrial(fixture.harness, QStringLiteral("walk1.cn"));
    ThreeStateCheckBox* box = openOptions(fixture.harness)->controls().chkReverseX;
    QCOMPARE(box->Value(), 2);
    QCOMPARE(box->toolTip(), kDesignTip);
    const QString toReverse = QStringLiteral("Click to reverse X coordinates.");
    const QString toLeave = QStringLiteral("Click to leave X coordinates unreversed.");
    for (const auto& [value, tip] : {std::pair{1, toReverse}, {0, toLeave}, {1, toReverse}}) {
        QTest::keyClick(box, Qt::Key_Space); // a click by keyboard; the mouse works alike
        QCOMPARE(box->Value(), value);
        QCOMPARE(box->toolTip(), tip);
    }
}

void DGOptionsTest::hideMissingDecidesTheMenuMark()
{
    Fixture fixture;
    selectTrial(fixture.harness, QStringLiteral("walk1.cn"));
    QAction* mark = fixture.harness.ui().mnuOption[0];
    mark->trigger(); // the user's click flips the mark; the dialog's box decides it
    QVERIFY(!mark->isChecked());
    frmDGOptions* dialog = fixture.harness.window().optionsCommands().dialog();
    QVERIFY(dialog);

    dialog->controls().chkHideMissing->click();
    QVERIFY(mark->isChecked());
    mark->trigger();
    QVERIFY(mark->isChecked());
    QCOMPARE(fixture.harness.window().optionsCommands().dialog(), dialog);
    QCOMPARE(dialog->controls().chkHideMissing->Value(), 1);

    dialog->controls().cmdExit->click();
    QTRY_VERIFY(!fixture.harness.window().optionsCommands().dialog());
    QCOMPARE(fixture.harness.state().OptionSwitches, QStringLiteral("/Z /V1 "));
    mark->trigger(); // the mark outlives the dialog
    QVERIFY(mark->isChecked());
    ThreeStateCheckBox* hide =
        fixture.harness.window().optionsCommands().dialog()->controls().chkHideMissing;
    QCOMPARE(hide->Value(), 0); // a new load starts unchecked; its clicks decide again
    hide->click();
    hide->click();
    QVERIFY(!mark->isChecked());
}

void DGOptionsTest::trialChangedWhileOpen_data()
{
    QTest::addColumn<QString>("openedOn");
    QTest::addColumn<QString>("okOn");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("rewritten");

    const QString ask = QStringLiteral("Save changes");
    const QString refine = QStringLiteral("Data Needs Refining");
    QTest::newRow("DG, then another DG: the one current at OK")
        << "walk1.dg"
        << "run2.dg" << QStringList{ask, QStringLiteral("Kadrix95"), refine} << "run2.dg";
    QTest::newRow("KM, then a DG: no question") << "walk1.km"
                                                << "run2.dg" << QStringList{} << "";
    QTest::newRow("DG, then a trial without .DG file: nothing written, no message")
        << "walk1.dg"
        << "only.cn" << QStringList{ask, refine} << "";
}

void DGOptionsTest::trialChangedWhileOpen()
{
    QFETCH(QString, openedOn);
    QFETCH(QString, okOn);
    QFETCH(QStringList, titles);
    QFETCH(QString, rewritten);
    Fixture fixture;
    selectTrial(fixture.harness, openedOn);
    frmDGOptions* dialog = openOptions(fixture.harness);
    control(dialog, QStringLiteral("ref:Panning"))->click();
    selectTrial(fixture.harness, okOn);

    dialog->controls().cmdExit->click();
    QCOMPARE(titlesOf(fixture.harness.messages), titles);
    for (const char* name : {"walk1.dg", "run2.dg"}) {
        const bool changed = rewritten == QLatin1String(name);
        QCOMPARE(fixture.file(name) != kTrial, changed);
        QCOMPARE(
            QFile::exists(fixture.harness.dataFile(QString::fromLatin1(name).chopped(2) + "DG!")),
            changed);
    }
    if (!rewritten.isEmpty())
        QCOMPARE(fixture.harness.messages.boxes[1].text,
                 QStringLiteral("File has been saved as, RUN2.DG original file is RUN2.DG!."));
    QVERIFY(!QFile::exists(fixture.harness.dataFile(QStringLiteral("only.dg"))));
}

void DGOptionsTest::saveErrorIsReportedAndOkGoesOn_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("temporaryThirdLine");

    QTest::newRow("backup name taken: the new header is kept")
        << "walk1.DG!"
        << "Error #  75 was generated by Kadrix95\rPath/File access error"
           "Changes are in file 'walk1.D$$'."
        << QByteArray("    2    4") + kThird.mid(10);
    QTest::newRow("temporary name taken: nothing is kept")
        << "walk1.D$$"
        << "Error #  58 was generated by Kadrix95\rFile already exists" << QByteArray();
}

void DGOptionsTest::saveErrorIsReportedAndOkGoesOn()
{
    QFETCH(QString, obstacle);
    QFETCH(QString, text);
    QFETCH(QByteArray, temporaryThirdLine);
    Fixture fixture;
    writeFile(fixture.harness.dataFile(obstacle + QStringLiteral("/kept")), "kept");
    selectTrial(fixture.harness, QStringLiteral("walk1.dg"));
    frmDGOptions* dialog = openOptions(fixture.harness);
    control(dialog, QStringLiteral("ref:Panning"))->click();

    dialog->controls().cmdExit->click();
    QCOMPARE(titlesOf(fixture.harness.messages),
             QStringList({QStringLiteral("Save changes"), QStringLiteral("Save error"),
                          QStringLiteral("Data Needs Refining")}));
    const MessageBox& error = fixture.harness.messages.boxes[1];
    QCOMPARE(error.text, text);
    QCOMPARE(error.icon, MessageIcon::Exclamation);
    QCOMPARE(fixture.file("walk1.dg"), kTrial);
    QCOMPARE(thirdLineOf(fixture.file("walk1.D$$")), temporaryThirdLine);
    QCOMPARE(fixture.harness.state().OptionSwitches, QStringLiteral("/V1 /S4 "));
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(DGOptionsTest)
#include "tst_dgoptions.moc"
