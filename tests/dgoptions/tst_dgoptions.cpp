// The DG options dialog inside the main window: what each kind of trial
// offers and the switch text OK builds from it, the save question and the
// messages of the header rewrite, Cancel, the trial changed while the
// dialog is open, and the two click handlers.

#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "classic/ThreeStateCheckBox.h"
#include "dgoptions/OptionsCommands.h"
#include "dgoptions/frmDGOptions.h"

#include <QAction>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;
using Boxes = std::vector<MessageBox>;

Q_DECLARE_METATYPE(Boxes)
Q_DECLARE_METATYPE(kadrix::MessageAnswer)

namespace {

const QByteArray kThird = "    2    0    3   12    0    0    0    0    0    0    0    0    7";

// A trial whose line 3 is `third`.
QByteArray trial(const QByteArray& third = kThird)
{
    return "Walk, trial 1\r\n        24        12\r\n" + third + "\r\n    1   109.9\r\n";
}

const MessageBox kAsk{QStringLiteral("Verify that you want the changes saved."),
                      QStringLiteral("Save changes"), MessageButtons::YesNoCancel,
                      MessageIcon::Question};
const QString kRef = QStringLiteral("To change the reference system:\n");
const QString kReverseX = QStringLiteral("Check to reverse &X-coordinates");
const QString kHide = QStringLiteral("Hide (0,0) coordinates");
const QString kX = QStringLiteral("To have the X coordinates changed:\n");

MessageBox saved(const QString& trial)
{
    return {QStringLiteral("File has been saved as, %1.DG original file is %1.DG!.").arg(trial),
            kApplicationTitle, MessageButtons::Ok, MessageIcon::Information};
}

MessageBox saveError(const QString& text)
{
    return {text, QStringLiteral("Save error"), MessageButtons::Ok, MessageIcon::Exclamation};
}

MessageBox refine(const QString& warning)
{
    return {warning + QStringLiteral("\nUse the 'Refine/Scale data' from the 'Data' menu.\n"
                                     "The .CN file will refelect the changes.\n\n"
                                     "Press OK to continue or Cancel to leave data as-is."),
            QStringLiteral("Data Needs Refining"), MessageButtons::Ok, MessageIcon::Exclamation};
}

// The main window over a data directory holding walk1.dg and run2.dg.
struct Fixture {
    MainWindowHarness harness;

    Fixture()
    {
        harness.addDataFile(QStringLiteral("walk1.dg"), trial());
        harness.addDataFile(QStringLiteral("run2.dg"), trial());
        harness.start();
    }
    QByteArray file(const QString& name) const { return readFile(harness.dataFile(name)); }
    frmDGOptions* dialog() { return harness.window().optionsCommands().dialog(); }
    void select(const QString& file)
    {
        harness.selectTrial(file.section(u'.', 0, 0), file.section(u'.', 1).toUpper());
    }
    // From "&Change reference system".
    frmDGOptions* open()
    {
        harness.ui().mnuOption[0]->trigger();
        return dialog();
    }
};

// The button or box with `caption`, as the user finds it.
QAbstractButton* control(frmDGOptions* dialog, const QString& caption)
{
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text() == caption)
            return button;
    }
    return nullptr;
}

} // namespace

class DGOptionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void okAndCancel_data();
    void okAndCancel();
    void eachReferenceSystemWritesItsCode();
};

void DGOptionsTest::okAndCancel_data()
{
    // clang-format off
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<QString>("switches");
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<QString>("rewritten");
    QTest::addColumn<QByteArray>("third");
    const auto yes = MessageAnswer::Yes;
    const QByteArray panned = "    2    4" + kThird.mid(10);
    const QString movingCamera = "Moving camera";
    const QString panning = "Panning";
    const QString filteredData = "&Show filtered data";
    const QStringList offered{panning, "&View Y-Z (top)", filteredData}; // counted only when offered

    QTest::newRow("DG offers the reference system") << "walk1.dg" << offered << yes << "/V1 /S4 " << Boxes{kAsk, saved("WALK1"), refine(kRef)} << "walk1" << panned;
    QTest::newRow("3-D trial offers views and filtered data") << "jump.3d" << offered << yes << "/F /V3 " << Boxes{} << "" << QByteArray();
    QTest::newRow("CDA trial offers views") << "throw.cda" << offered << yes << "/V3 " << Boxes{} << "" << QByteArray();
    QTest::newRow("KM trial: filtered data grayed") << "walk1.km" << offered << yes << "/F /V1 " << Boxes{} << "" << QByteArray();
    QTest::newRow("other trial offers none") << "walk1.cn" << offered << yes << "/V1 " << Boxes{} << "" << QByteArray();
    QTest::newRow("no trial offers none") << "" << offered << yes << "/V1 " << Boxes{} << "" << QByteArray();
    QTest::newRow("3-D trial, both filtered") << "jump.3d" << QStringList{filteredData, "&Filtered data"} << yes << "/F /V1 /F " << Boxes{} << "" << QByteArray();
    QTest::newRow("CDA trial, frontal view") << "throw.cda" << QStringList{"&View X-Z (frontal)"} << yes << "/V2 " << Boxes{} << "" << QByteArray();
    QTest::newRow("3-D trial, every option: in the grammar's order, no question, no warning") << "jump.3d" << QStringList{kReverseX, "&Filtered data", kHide, "&View Y-Z (top)", "Make &Read-only", filteredData} << yes << "/R /Z /F /V3 /F /X " << Boxes{} << "" << QByteArray();
    QTest::newRow("DG, nothing changed, Yes: rewritten with its own values") << "walk1.dg" << QStringList{} << yes << "/V1 " << Boxes{kAsk, saved("WALK1")} << "walk1" << kThird;
    QTest::newRow("DG, read-only, X reversed, Panning, Yes") << "walk1.dg" << QStringList{"Make &Read-only", kReverseX, panning} << yes << "/R /V1 /X /S4 " << Boxes{kAsk, saved("WALK1"), refine(kRef + kX)} << "walk1" << panned;
    QTest::newRow("DG, Moving camera, No: nothing written") << "walk1.dg" << QStringList{movingCamera} << MessageAnswer::No << "/V1 /S2 " << Boxes{kAsk, refine(kRef)} << "" << QByteArray();
    QTest::newRow("DG, X left unchecked") << "walk1.dg" << QStringList{kReverseX, kReverseX} << yes << "/V1 " << Boxes{kAsk, saved("WALK1"), refine(kX)} << "walk1" << "    1" + kThird.mid(5);
    QTest::newRow("DG, Cancel at the question: the dialog stays as it is") << "walk1.dg" << QStringList{movingCamera, "Make &Read-only"} << MessageAnswer::Cancel << "/R /V1 " << Boxes{kAsk} << "" << QByteArray();
    QTest::newRow("Cancel of the dialog, whatever is set") << "walk1.dg" << QStringList{kReverseX, kHide, panning, "&Cancel"} << yes << "" << Boxes{} << "" << QByteArray();
    QTest::newRow("backup name taken: the new header is kept") << "walk1.dg" << QStringList{panning, "taken:walk1.DG!"} << yes << "/V1 /S4 "
        << Boxes{kAsk, saveError("Error #  75 was generated by Kadrix95\rPath/File access error: walk1.DG!Changes are in file 'walk1.D$$'."), refine(kRef)} << "" << QByteArray();
    QTest::newRow("temporary name taken: nothing is kept") << "walk1.dg" << QStringList{panning, "taken:walk1.D$$"} << yes << "/V1 /S4 "
        << Boxes{kAsk, saveError("Error #  58 was generated by Kadrix95\rFile already exists: walk1.D$$"), refine(kRef)} << "" << QByteArray();
    QTest::newRow("DG, then another DG: the one current at OK") << "walk1.dg" << QStringList{panning, "select:run2.dg"} << yes << "/V1 /S4 " << Boxes{kAsk, saved("RUN2"), refine(kRef)} << "run2" << panned;
    QTest::newRow("opened again: only brought forward, its choices kept") << "walk1.dg" << QStringList{panning, "open"} << yes << "/V1 /S4 " << Boxes{kAsk, saved("WALK1"), refine(kRef)} << "walk1" << panned;
    QTest::newRow("closed by its frame: the switches stay") << "walk1.dg" << QStringList{kReverseX, panning, "close"} << yes << "/Z /V2 " << Boxes{} << "" << QByteArray();
    QTest::newRow("a new load starts from the design state") << "walk1.dg" << QStringList{kReverseX, kHide, panning, "close", "open"} << yes << "/V1 " << Boxes{kAsk, saved("WALK1")} << "walk1" << kThird;
    QTest::newRow("KM, then a DG: no question") << "walk1.km" << QStringList{panning, "select:run2.dg"} << yes << "/F /V1 " << Boxes{} << "" << QByteArray();
    QTest::newRow("DG, then a trial without .DG file: nothing written, no message") << "walk1.dg" << QStringList{panning, "select:only.cn"} << yes << "/V1 /S4 " << Boxes{kAsk, refine(kRef)} << "" << QByteArray();
    // clang-format on
}

// The dialog opened on `file` from "&Options"; each step clicks a control,
// selects another trial ("select:run2.dg"), puts a directory under a name
// in the data directory ("taken:walk1.DG!"), closes the dialog by its frame
// or opens it from the menu; then OK unless the dialog is gone. Whatever
// the last OK left in the switches is replaced. Only `rewritten` (walk1,
// run2 or neither) is rewritten, with `third` as its line 3.
void DGOptionsTest::okAndCancel()
{
    QFETCH(QString, file);
    QFETCH(QStringList, steps);
    QFETCH(MessageAnswer, answer);
    QFETCH(QString, switches);
    QFETCH(Boxes, boxes);
    QFETCH(QString, rewritten);
    QFETCH(QByteArray, third);
    Fixture fixture;
    fixture.harness.state().OptionSwitches = QStringLiteral("/Z /V2 ");
    fixture.select(file);
    fixture.harness.window().optionsCommands().cmdOptions_Click();
    frmDGOptions* dialog = fixture.dialog();
    QVERIFY(dialog && dialog->isVisible() && !dialog->isModal() && !dialog->parentWidget());
    QCOMPARE(dialog->controls().fraFiltered->isVisible(), file.endsWith(QLatin1String(".3d")));
    for (const QString& step : steps) {
        if (step.startsWith(QLatin1String("select:"))) {
            fixture.select(step.section(u':', 1));
        } else if (step.startsWith(QLatin1String("taken:"))) {
            makeDirectory(fixture.harness.dataFile(step.section(u':', 1)));
        } else if (step == QLatin1String("close")) {
            fixture.dialog()->close();
            QTRY_VERIFY(!fixture.dialog());
        } else if (step == QLatin1String("open")) {
            fixture.open();
        } else {
            QAbstractButton* button = control(fixture.dialog(), step);
            QVERIFY2(button, qPrintable(step));
            button->click();
            if (step == kReverseX) // each click replaces its tooltip
                QCOMPARE(button->toolTip(), button->isChecked()
                                                ? "Click to reverse X coordinates."
                                                : "Click to leave X coordinates unreversed.");
        }
    }
    fixture.harness.messages.answers = {answer};
    if (frmDGOptions* shown = fixture.dialog(); shown && shown->isVisible())
        shown->controls().cmdExit->click();

    QCOMPARE(fixture.harness.state().OptionSwitches, switches);
    QCOMPARE(fixture.harness.messages.boxes, boxes);
    for (const QString& name : {QStringLiteral("walk1"), QStringLiteral("run2")}) {
        QCOMPARE(fixture.file(name + QStringLiteral(".dg")),
                 name == rewritten ? trial(third) : trial());
        QCOMPARE(fixture.file(name + QStringLiteral(".DG!")),
                 name == rewritten ? trial() : QByteArray());
    }
    QVERIFY(!QFile::exists(fixture.harness.dataFile(QStringLiteral("only.dg"))));
    QVERIFY(!QGuiApplication::overrideCursor());
    // "Hide (0,0) coordinates" alone marks "&Change reference system", also
    // after the dialog has gone.
    QCOMPARE(fixture.harness.ui().mnuOption[0]->isChecked(), steps.count(kHide) % 2 == 1);
    if (answer == MessageAnswer::Cancel) { // at the question: still open with the choices made
        QVERIFY(dialog->isVisible());
        for (const QString& step : steps)
            QVERIFY(control(dialog, step)->isChecked());
    } else {
        QTRY_VERIFY(!fixture.dialog());
    }
}

// Each reference system, chosen by its caption, reaches the header and the
// switches with its own code.
void DGOptionsTest::eachReferenceSystemWritesItsCode()
{
    const QStringList captions{"No fixed points",  "Moving camera",         "Framing (use fixed)",
                               "Panning",          "Framed (ignore fixed)", "Framing && moving",
                               "Framed && moving", "Framing && Panning",    "Framed && Panning"};
    Fixture fixture;
    fixture.select(QStringLiteral("walk1.dg"));
    for (int code = 1; code <= 9; ++code) {
        control(fixture.open(), captions.at(code - 1))->click();
        fixture.dialog()->controls().cmdExit->click();
        QTRY_VERIFY(!fixture.dialog());
        const QByteArray digit = QByteArray::number(code);
        QCOMPARE(fixture.file(QStringLiteral("walk1.dg")),
                 trial("    2    " + digit + kThird.mid(10)));
        QCOMPARE(fixture.harness.state().OptionSwitches, "/V1 /S" + digit + ' ');
    }
}

QTEST_MAIN(DGOptionsTest)
#include "tst_dgoptions.moc"
