// The text viewer: what it shows on activation, its error messages and the
// hand-over to the text editor, its font sizes and colours, the Open
// command, Exit, and a file large enough to go in slices.

#include "FakeMessages.h"
#include "FakeSettingsStore.h"
#include "FakeStarter.h"
#include "TestFiles.h"
#include "app/AppState.h"
#include "docs/TextFeeder.h"
#include "docs/frmViewer.h"
#include "platform/Host.h"
#include "platform/Twips.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

// A viewer over a temporary directory, with fake host parts; the process's
// current directory is restored when it goes.
struct ViewerFixture {
    ViewerFixture()
        : savedCurrent(QDir::currentPath())
    {
        base = QDir(root.path()).canonicalPath();
        state.DataDir = base;
        state.ProgDir = base;
    }
    ~ViewerFixture()
    {
        delete viewer.data();
        QDir::setCurrent(savedCurrent);
    }
    ViewerFixture(const ViewerFixture&) = delete;
    ViewerFixture& operator=(const ViewerFixture&) = delete;

    QString file(const QString& name, const QByteArray& contents)
    {
        const QString path = base + QLatin1Char('/') + name;
        writeFile(path, contents);
        return path;
    }

    frmViewer& show(const QString& path)
    {
        state.ViewerFile = path;
        if (!viewer)
            viewer = new frmViewer(state, host);
        viewer->showAndActivate();
        return *viewer;
    }

    QString shownText() const { return viewer->txtViewer()->toPlainText(); }

    QTemporaryDir root;
    QString base;
    QString savedCurrent;
    AppState state;
    FakeMessages messages;
    FakeStarter starter;
    FakeSettingsStore settings;
    Host host{messages, starter, settings};
    QPointer<frmViewer> viewer;
};

QList<bool> checkMarks(const frmViewer& viewer)
{
    QList<bool> marks;
    for (const QAction* item : viewer.mnuFontSizesItem())
        marks.append(item->isChecked());
    return marks;
}

QColor colourOf(const frmViewer& viewer, QPalette::ColorRole role)
{
    return viewer.txtViewer()->palette().color(role);
}

void switchAwayAndBack(QWidget& other, frmViewer& viewer)
{
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    viewer.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&viewer));
}

} // namespace

class ViewerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadsWithSmallTextAndDesignColours();
    void showsAllButTheLastByte_data();
    void showsAllButTheLastByte();
    void helpFileFoundRegardlessOfCase();
    void errorsHideTheViewer_data();
    void errorsHideTheViewer();
    void emptyFileGoesToTheTextEditor();
    void rereadsTheFileOnActivation();
    void unchangedFileKeepsThePlace();
    void fontSizes_data();
    void fontSizes();
    void colours_data();
    void colours();
    void colourDialogOpensWithItsLastColour();
    void openDialogCancelledChangesNothing();
    void openShowsTheChosenFile();
    void exitHidesAndKeepsTheSettings();
    void titleBarCloseUnloads();
    void textBoxFollowsTheWindowSize();
    void largeFileGoesInSlices();
};

void ViewerTest::loadsWithSmallTextAndDesignColours()
{
    ViewerFixture fixture;
    frmViewer& viewer = fixture.show(fixture.file(QStringLiteral("a.txt"), "abc\n"));
    QCOMPARE(viewer.txtViewer()->font().pointSizeF(), 10.0);
    QVERIFY(viewer.txtViewer()->font().bold());
    QVERIFY(viewer.txtViewer()->font().fixedPitch());
    QCOMPARE(checkMarks(viewer), (QList<bool>{false, true, false, false, false, false}));
    QVERIFY(!viewer.mnuFontSizesItem().at(5)->isCheckable());
    QCOMPARE(colourOf(viewer, QPalette::Base), QColor(224, 224, 224));
    QCOMPARE(colourOf(viewer, QPalette::Text), QColor(Qt::black));
    QCOMPARE(viewer.width(), twips(10500 - 120));
}

void ViewerTest::showsAllButTheLastByte_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("shown");

    QTest::newRow("one byte: an empty box") << QByteArray("x") << "";
    QTest::newRow("CR LF at the end: every line")
        << QByteArray("one\r\ntwo\r\nthree\r\n") << "one\ntwo\nthree\n";
    QTest::newRow("no line end: last character lost") << QByteArray("one\ntwo") << "one\ntw";
}

void ViewerTest::showsAllButTheLastByte()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, shown);
    ViewerFixture fixture;
    const QString path = fixture.file(QStringLiteral("Shown.txt"), contents);
    frmViewer& viewer = fixture.show(path);

    QVERIFY(viewer.isVisible());
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Text Viewer: ") + path);
    QCOMPARE(fixture.shownText(), shown);
    QVERIFY(fixture.messages.boxes.empty());
    QVERIFY(fixture.starter.requests.empty());
}

void ViewerTest::helpFileFoundRegardlessOfCase()
{
    ViewerFixture fixture;
    fixture.file(QStringLiteral("overview.TXT"), "Overview\n");
    const QString asNamed = fixture.base + QStringLiteral("/Overview.txt");
    frmViewer& viewer = fixture.show(asNamed);
    QCOMPARE(fixture.shownText(), QStringLiteral("Overview"));
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Text Viewer: ") + asNamed);
}

void ViewerTest::errorsHideTheViewer_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");

    QTest::newRow("no file name") << ""
                                  << "Error.  No filename was given."
                                  << "Text Viewer";
    QTest::newRow("missing file") << "missing.txt"
                                  << "Error finding file."
                                  << "Text Viewer: %1/missing.txt";
}

void ViewerTest::errorsHideTheViewer()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, title);
    ViewerFixture fixture;
    frmViewer& viewer = fixture.show(fixture.file(QStringLiteral("first.txt"), "first\n"));
    QCOMPARE(fixture.shownText(), QStringLiteral("first"));

    fixture.show(name.isEmpty() ? QString() : fixture.base + QLatin1Char('/') + name);
    QCOMPARE(fixture.messages.texts(), QStringList{message});
    QCOMPARE(fixture.messages.boxes.front().title, QStringLiteral("Text Viewer"));
    QVERIFY(!viewer.isVisible());
    QCOMPARE(viewer.windowTitle(),
             title.contains(QLatin1String("%1"))
                 ? title.arg(fixture.base)
                 : QStringLiteral("Text Viewer: ") + fixture.base + QStringLiteral("/first.txt"));
    QCOMPARE(fixture.shownText(), QStringLiteral("first"));
    QVERIFY(fixture.starter.requests.empty());
}

void ViewerTest::emptyFileGoesToTheTextEditor()
{
    ViewerFixture fixture;
    const QString path = fixture.file(QStringLiteral("empty.out"), {});
    frmViewer& viewer = fixture.show(path);

    QVERIFY(!viewer.isVisible());
    QVERIFY(fixture.messages.boxes.empty());
    QCOMPARE(fixture.starter.requests.size(), size_t(1));
    const StartRequest& request = fixture.starter.last();
    QCOMPARE(request.commandText, QStringLiteral("notepad.exe ") + path);
    QCOMPARE(request.program, QStringLiteral("notepad.exe"));
    QCOMPARE(request.arguments, QStringList{path});
    QCOMPARE(request.showCode, kShowNormal);
    QCOMPARE(fixture.state.TaskId, 4242.0);
}

void ViewerTest::rereadsTheFileOnActivation()
{
    ViewerFixture fixture;
    const QString path = fixture.file(QStringLiteral("live.out"), "step 1\n");
    frmViewer& viewer = fixture.show(path);
    QCOMPARE(fixture.shownText(), QStringLiteral("step 1"));

    writeFile(path, "step 1\nstep 2\n");
    QWidget other;
    other.show();
    switchAwayAndBack(other, viewer);
    QCOMPARE(fixture.shownText(), QStringLiteral("step 1\nstep 2"));

    // Coming back from a dialog, such as a message box, is no activation.
    writeFile(path, "step 3\n");
    QDialog dialog;
    dialog.setModal(true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.close();
    viewer.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&viewer));
    QCOMPARE(fixture.shownText(), QStringLiteral("step 1\nstep 2"));

    switchAwayAndBack(other, viewer);
    QCOMPARE(fixture.shownText(), QStringLiteral("step 3"));
}

void ViewerTest::unchangedFileKeepsThePlace()
{
    ViewerFixture fixture;
    QByteArray lines;
    for (int i = 0; i < 400; ++i)
        lines += "line " + QByteArray::number(i) + "\n";
    const QString path = fixture.file(QStringLiteral("long.txt"), lines);
    frmViewer& viewer = fixture.show(path);
    QScrollBar* bar = viewer.txtViewer()->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 100);
    bar->setValue(100);

    QWidget other;
    other.show();
    switchAwayAndBack(other, viewer);
    QCOMPARE(bar->value(), 100);

    writeFile(path, "changed\n" + lines);
    switchAwayAndBack(other, viewer);
    QVERIFY(fixture.shownText().startsWith(QLatin1String("changed\n")));
    QCOMPARE(bar->value(), 0);
}

void ViewerTest::fontSizes_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("checked");

    QTest::newRow("tiny") << 0 << 8.0 << 0;
    QTest::newRow("small") << 1 << 10.0 << 1;
    QTest::newRow("normal") << 2 << 12.0 << 2;
    QTest::newRow("large") << 3 << 14.0 << 3;
    QTest::newRow("very large") << 4 << 18.0 << 4;
    QTest::newRow("default checks normal") << 5 << 12.0 << 2;
    QTest::newRow("outside the menu: as default") << 9 << 12.0 << 2;
}

void ViewerTest::fontSizes()
{
    QFETCH(int, index);
    QFETCH(double, points);
    QFETCH(int, checked);
    ViewerFixture fixture;
    frmViewer& viewer = fixture.show(fixture.file(QStringLiteral("a.txt"), "abc\n"));
    viewer.mnuFontSizesItem().at(4)->trigger();
    QCOMPARE(viewer.txtViewer()->font().pointSizeF(), 18.0);

    if (index < 6)
        viewer.mnuFontSizesItem().at(index)->trigger();
    else
        viewer.mnuFontSizesItem_Click(index);
    QCOMPARE(viewer.txtViewer()->font().pointSizeF(), points);
    QVERIFY(viewer.txtViewer()->font().bold());
    QList<bool> expected(6, false);
    expected[checked] = true;
    QCOMPARE(checkMarks(viewer), expected);
}

void ViewerTest::colours_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("chosen");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");

    const QColor grey(224, 224, 224);
    const QColor blue(0, 0, 160);
    QTest::newRow("background") << 0 << blue << blue << QColor(Qt::black);
    QTest::newRow("background equal to the text: no change")
        << 0 << QColor(Qt::black) << grey << QColor(Qt::black);
    QTest::newRow("foreground") << 1 << blue << grey << blue;
    QTest::newRow("foreground equal to the background: no change")
        << 1 << grey << grey << QColor(Qt::black);
    QTest::newRow("reset: black on white, not the design grey")
        << 2 << QColor() << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("outside the menu: nothing") << 3 << blue << grey << QColor(Qt::black);
}

void ViewerTest::colours()
{
    QFETCH(int, index);
    QFETCH(QColor, chosen);
    QFETCH(QColor, background);
    QFETCH(QColor, text);
    ViewerFixture fixture;
    frmViewer& viewer = fixture.show(fixture.file(QStringLiteral("a.txt"), "abc\n"));
    fixture.messages.colourAnswers.push_back(chosen);

    viewer.mnuColours_Click(index);
    QCOMPARE(colourOf(viewer, QPalette::Base), background);
    QCOMPARE(colourOf(viewer, QPalette::Text), text);
    QCOMPARE(fixture.messages.colourDialogs.size(), size_t(index < 2 ? 1 : 0));
}

void ViewerTest::colourDialogOpensWithItsLastColour()
{
    ViewerFixture fixture;
    frmViewer& viewer = fixture.show(fixture.file(QStringLiteral("a.txt"), "abc\n"));
    // Cancelled the first time, the dialog gives black: equal to the text.
    viewer.mnuColours().at(0)->trigger();
    QCOMPARE(colourOf(viewer, QPalette::Base), QColor(224, 224, 224));

    fixture.messages.colourAnswers.push_back(QColor(Qt::yellow));
    viewer.mnuColours().at(0)->trigger();
    viewer.mnuColours().at(1)->trigger(); // cancelled: yellow again, equal to the background
    QCOMPARE(fixture.messages.colourDialogs,
             (std::vector<QColor>{Qt::black, Qt::black, Qt::yellow}));
    QCOMPARE(colourOf(viewer, QPalette::Base), QColor(Qt::yellow));
    QCOMPARE(colourOf(viewer, QPalette::Text), QColor(Qt::black));
}

void ViewerTest::openDialogCancelledChangesNothing()
{
    ViewerFixture fixture;
    const QString path = fixture.file(QStringLiteral("a.txt"), "abc\n");
    frmViewer& viewer = fixture.show(path);
    viewer.mnuOpen()->trigger();

    QCOMPARE(fixture.messages.fileDialogs.size(), size_t(1));
    const OpenFileDialog& dialog = fixture.messages.fileDialogs.front();
    QCOMPARE(
        dialog.filters,
        (QStringList{QStringLiteral("Text files (*.txt)"), QStringLiteral("Output files (*.out)"),
                     QStringLiteral("Listings (*.lst)"), QStringLiteral("All files (*.*)")}));
    QCOMPARE(dialog.selectedFilter, 0);
    QVERIFY(dialog.fileName.isEmpty());
    QVERIFY(dialog.initialDirectory.isEmpty());
    QCOMPARE(fixture.state.ViewerFile, path);
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Text Viewer: ") + path);
    QCOMPARE(fixture.shownText(), QStringLiteral("abc"));
    QVERIFY(viewer.isVisible());
}

void ViewerTest::openShowsTheChosenFile()
{
    ViewerFixture fixture;
    frmViewer& viewer = fixture.show(fixture.file(QStringLiteral("a.txt"), "abc\n"));
    const QString other = fixture.file(QStringLiteral("Scalvane.out"), "output\r\n");
    fixture.messages.fileAnswers.push_back(other);

    viewer.mnuOpen()->trigger();
    QCOMPARE(fixture.state.ViewerFile, other);
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Text Viewer: ") + other);
    QCOMPARE(fixture.shownText(), QStringLiteral("output\n"));
}

void ViewerTest::exitHidesAndKeepsTheSettings()
{
    ViewerFixture fixture;
    const QString path = fixture.file(QStringLiteral("a.txt"), "abc\n");
    frmViewer& viewer = fixture.show(path);
    viewer.mnuFontSizesItem().at(3)->trigger();
    viewer.mnuColours().at(2)->trigger();
    const QString elsewhere = fixture.base + QStringLiteral("/elsewhere");
    makeDirectory(elsewhere);
    QDir::setCurrent(elsewhere);

    viewer.mnuExit()->trigger();
    QVERIFY(!viewer.isVisible());
    QCOMPARE(QDir::currentPath(), fixture.state.DataDir);

    writeFile(path, "again\n");
    fixture.show(path);
    QCOMPARE(fixture.shownText(), QStringLiteral("again"));
    QCOMPARE(viewer.txtViewer()->font().pointSizeF(), 14.0);
    QCOMPARE(colourOf(viewer, QPalette::Base), QColor(Qt::white));
}

void ViewerTest::titleBarCloseUnloads()
{
    ViewerFixture fixture;
    frmViewer& viewer = fixture.show(fixture.file(QStringLiteral("a.txt"), "abc\n"));
    viewer.mnuFontSizesItem().at(0)->trigger();
    viewer.close();
    QTRY_VERIFY(fixture.viewer.isNull());

    frmViewer& again = fixture.show(fixture.state.ViewerFile);
    QCOMPARE(again.txtViewer()->font().pointSizeF(), 10.0);
    QCOMPARE(checkMarks(again), (QList<bool>{false, true, false, false, false, false}));
}

void ViewerTest::textBoxFollowsTheWindowSize()
{
    ViewerFixture fixture;
    frmViewer& viewer = fixture.show(fixture.file(QStringLiteral("a.txt"), "abc\n"));
    QWidget* client = viewer.centralWidget();
    QTRY_COMPARE(viewer.txtViewer()->width(), twips(toTwips(client->width()) + 120 - 150));

    viewer.resize(500, 300);
    QTRY_COMPARE(client->width(), 500);
    QCOMPARE(viewer.txtViewer()->geometry(), QRect(0, 0, twips(toTwips(client->width()) - 30),
                                                   twips(toTwips(client->height()) + 735 - 750)));
}

void ViewerTest::largeFileGoesInSlices()
{
    ViewerFixture fixture;
    QByteArray text;
    const QByteArray line = "frame  1   109.9    25.0   121.5    32.2   120.7    37.4\r\n";
    while (text.size() < 3 * TextFeeder::kSliceSize)
        text += line;
    frmViewer& viewer = fixture.show(fixture.file(QStringLiteral("big.km"), text));

    QVERIFY(viewer.isFilling());
    QTRY_VERIFY_WITH_TIMEOUT(!viewer.isFilling(), 20000);
    const QString shown = fixture.shownText();
    // Each CR LF is one line feed; the last line's LF is dropped, its CR kept.
    QCOMPARE(shown.size(), text.size() / line.size() * (line.size() - 1));
    QVERIFY(shown.endsWith(QLatin1String("37.4\n")));
}

QTEST_MAIN(ViewerTest)
#include "tst_viewer.moc"
