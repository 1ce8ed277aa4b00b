// The text viewer: what an activation shows or hands over, a big file read
// in pieces, scrolled, searched and re-read, font sizes and colours, Open,
// Exit and close, and the resize.

#include "DocsHelpers.h"
#include "FakeMessages.h"
#include "FakeSettingsStore.h"
#include "FakeStarter.h"
#include "HostFiles.h"
#include "classic/Twips.h"
#include "core/AppState.h"
#include "docs/frmViewer.h"
#include "platform/Host.h"
#include "platform/NativeNames.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
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
    ViewerFixture() { state.DataDir = state.ProgDir = base; }
    ~ViewerFixture()
    {
        delete viewer.data();
        QDir::setCurrent(savedCurrent);
    }
    // The path of `name`, written with `contents` unless they are null.
    QString file(const QString& name, const QByteArray& contents)
    {
        if (!contents.isNull())
            writeFile(base + u'/' + name, contents);
        return base + u'/' + name;
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
    // The text box's size and weight and the "&Font" menu's check marks.
    QString font() const
    {
        QString marks;
        for (const QAction* item : viewer->mnuFontSizesItem())
            marks += item->isChecked() ? u'1' : u'0';
        const QFont font = viewer->txtViewer()->font();
        return QString::number(font.pointSizeF()) + (font.bold() ? " bold " : " ") + marks;
    }
    QString colours() const
    {
        const QPalette palette = viewer->txtViewer()->palette();
        return palette.color(QPalette::Text).name() + " on " + palette.color(QPalette::Base).name();
    }

    QTemporaryDir root;
    QString base = QDir(root.path()).canonicalPath();
    QString savedCurrent = QDir::currentPath();
    AppState state;
    FakeMessages messages;
    FakeStarter starter;
    FakeSettingsStore settings;
    Host host{messages, starter, settings};
    QPointer<frmViewer> viewer;
};

// 165 kB of numbered lines: "line 00000", "line 00001", ...
QByteArray numberedLines()
{
    QByteArray lines;
    for (int i = 0; i < 15000; ++i)
        lines += "line " + QByteArray::number(i).rightJustified(5, '0') + '\n';
    return lines;
}

} // namespace

class ViewerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void activation_data();
    void activation();
    void bigFileScrolledSearchedAndReread();
    void changedWhileShown_data();
    void changedWhileShown();
    void fontSizesThroughExitAndClose();
    void colours();
    void openCancelledThenChosen();
};

void ViewerTest::activation_data()
{
    // clang-format off
    QTest::addColumn<QString>("name");        // empty: no file name
    QTest::addColumn<QByteArray>("contents"); // null: no such file
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("toEditor");

    QTest::newRow("all but the last byte") << "a.txt" << QByteArray("one\r\ntwo\r\n") << "one\ntwo\n" << "" << false;
    QTest::newRow("one byte: an empty box") << "a.txt" << QByteArray("x") << "" << "" << false;
    QTest::newRow("empty file: to the text editor") << "empty.out" << QByteArray("") << "" << "" << true;
    QTest::newRow("missing file") << "missing.txt" << QByteArray() << "" << "Error finding file." << false;
    QTest::newRow("a pipe is never waited for") << "pipe" << QByteArray() << "" << "Error finding file." << false;
    QTest::newRow("no file name") << "" << QByteArray() << "" << "Error.  No filename was given." << false;
    // clang-format on
}

void ViewerTest::activation()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    QFETCH(bool, toEditor);
    ViewerFixture fixture;
    if (name == "pipe" && !test::makeNamedPipe(fixture.file(name, {})))
        QSKIP(test::kNoNamedPipes);
    frmViewer& viewer = fixture.show(name.isEmpty() ? QString() : fixture.file(name, contents));

    QCOMPARE(viewer.isVisible(), message.isEmpty() && !toEditor);
    QCOMPARE(fixture.messages.texts().join(QString()), message);
    QCOMPARE(fixture.starter.requests.size(), size_t(toEditor ? 1 : 0));
    if (toEditor)
        QCOMPARE(fixture.starter.last().commandText,
                 "notepad.exe " + QDir::toNativeSeparators(fixture.state.ViewerFile));
    if (viewer.isVisible())
        QCOMPARE(fixture.shownText(), shown);
}

void ViewerTest::bigFileScrolledSearchedAndReread()
{
    // Far more than the first piece indexed at once; the last line is in
    // the Windows code page, found only by the worker.
    ViewerFixture fixture;
    QByteArray lines;
    for (int i = 0; i < 200000; ++i)
        lines += "Line " + QByteArray::number(i) + (i % 3 ? "\r\n" : "\t\tend\n");
    frmViewer& viewer = fixture.show(fixture.file("big.out", lines + "caf\xE9 au lait\r\n"));
    BigTextView& box = *viewer.txtViewer();
    QCOMPARE(box.accessibleName(), viewer.windowTitle());
    QVERIFY(box.isIndexing());
    QTRY_VERIFY_WITH_TIMEOUT(!box.isIndexing(), 30000);
    QCOMPARE(box.lineCount(), 200002);
    QCOMPARE(box.lineText(199998), "Line 199998\t\tend");
    QCOMPARE(box.lineText(200000), "caf\u00E9 au lait");

    box.scrollToLine(200001); // the last screen
    QCOMPARE(box.verticalScrollBar()->value(), box.verticalScrollBar()->maximum());
    box.scrollToLine(120000);
    QTest::keyClick(&box, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(box.findField(), "CAF\u00C9"); // one search per key
    QTRY_COMPARE(box.selectedText(), "caf\u00E9");
    QCOMPARE(box.firstVisibleLine() <= 200000 && 200000 < box.firstVisibleLine() + 30, true);
    QTest::keyClick(box.findField(), Qt::Key_Return); // round to the only match
    QTRY_VERIFY(!box.isSearching());
    QCOMPARE(box.selectedText(), "caf\u00E9");
    QTest::keyClicks(box.findField(), "x");
    QTRY_COMPARE(box.findStatus(), "Not found");

    box.scrollToLine(1500);
    QVERIFY(switchAwayAndBack(viewer)); // unchanged: the place is kept
    QCOMPARE(box.firstVisibleLine(), 1500);
    fixture.file("big.out", "changed\n" + lines);
    QVERIFY(switchAwayAndBack(viewer));
    QCOMPARE(box.lineText(0), "changed");
    QCOMPARE(box.firstVisibleLine(), 0);

    // The text box follows the window's size.
    viewer.resize(500, 300);
    const QWidget* client = viewer.centralWidget();
    QTRY_COMPARE(client->width(), 500);
    QCOMPARE(box.geometry(), QRect(0, 0, twips(toTwips(client->width()) - 30),
                                   twips(toTwips(client->height()) + 735 - 750)));
}

void ViewerTest::changedWhileShown_data()
{
    QTest::addColumn<QByteArray>("now"); // the file once another program has changed it
    QTest::addColumn<QString>("action");
    const QByteArray lines = numberedLines();
    for (const char* action : {"End", "PgUp", "Up", "bar", "resize"})
        QTest::addRow("truncated: %s", action) << lines.left(1000) << action;
    QTest::newRow("rewritten shorter: End") << QByteArray("rewritten\n").repeated(50) << "End";
    QTest::newRow("grown: End") << lines + "one more\n\n"
                                << "End";
}

// Another program truncates, rewrites or lengthens the file while its end
// is shown: keys, the scroll bar and a resize show the file as it is now.
void ViewerTest::changedWhileShown()
{
    QFETCH(QByteArray, now);
    QFETCH(QString, action);
    ViewerFixture fixture;
    const QString path = fixture.file("a.out", numberedLines());
    frmViewer& viewer = fixture.show(path);
    BigTextView& box = *viewer.txtViewer();
    QScrollBar& bar = *box.verticalScrollBar();
    QTRY_VERIFY(!box.isIndexing());
    QTest::keyClick(&box, Qt::Key_End);
    if (numberedLines().startsWith(now))
        QVERIFY(QFile::resize(path, now.size()));
    else
        writeFile(path, now); // in place

    if (action == "bar")
        bar.setValue(bar.maximum() / 2);
    else if (action == "resize")
        viewer.resize(viewer.width() - 40, viewer.height() - 30);
    else
        QTest::keyClick(&box, action == "End"  ? Qt::Key_End
                              : action == "Up" ? Qt::Key_Up
                                               : Qt::Key_PageUp);
    const QStringList lines = QString::fromLatin1(now.chopped(1)).split(u'\n');
    QTRY_COMPARE(box.lineCount(), lines.size());
    const QStringList rows = box.visibleRows();
    QVERIFY(!rows.isEmpty());
    for (qsizetype row = 0; row < rows.size(); ++row)
        QCOMPARE(rows.at(row), lines.value(box.firstVisibleLine() + row));
    if (action == "End")
        QCOMPARE(box.lastVisibleLine(), lines.size() - 1);
}

void ViewerTest::fontSizesThroughExitAndClose()
{
    ViewerFixture fixture;
    frmViewer& viewer = fixture.show(fixture.file("a.txt", "abc\n"));
    const auto choose = [&](int index) {
        index < 6 ? viewer.mnuFontSizesItem().at(index)->trigger()
                  : viewer.mnuFontSizesItem_Click(index);
        return fixture.font();
    };
    QCOMPARE(fixture.font(), "10 bold 010000"); // loaded: small
    QCOMPARE(choose(0), "8 bold 100000");
    QCOMPARE(choose(4), "18 bold 000010");
    QCOMPARE(choose(5), "12 bold 001000"); // default checks normal
    QCOMPARE(choose(9), "12 bold 001000"); // outside the menu: as default
    QCOMPARE(choose(3), "14 bold 000100");

    // Exit hides the window and makes the data directory current again.
    makeDirectory(fixture.base + "/elsewhere");
    QDir::setCurrent(fixture.base + "/elsewhere");
    viewer.mnuExit()->trigger();
    QVERIFY(!viewer.isVisible());
    QCOMPARE(QDir::currentPath(), fixture.state.DataDir);
    fixture.show(fixture.state.ViewerFile);
    QCOMPARE(fixture.font(), "14 bold 000100");
    viewer.close(); // unloads: a new window starts afresh
    QTRY_VERIFY(fixture.viewer.isNull());
    fixture.show(fixture.state.ViewerFile);
    QCOMPARE(fixture.font(), "10 bold 010000");
}

void ViewerTest::colours()
{
    ViewerFixture fixture;
    frmViewer& viewer = fixture.show(fixture.file("a.txt", "abc\n"));
    // The dialog gives `answer`, or without one is cancelled.
    const auto choose = [&](int index, std::optional<QColor> answer = {}) {
        if (answer)
            fixture.messages.colourAnswers.push_back(answer);
        index < 3 ? viewer.mnuColours().at(index)->trigger() : viewer.mnuColours_Click(index);
        return fixture.colours();
    };
    QCOMPARE(fixture.colours(), "#000000 on #e0e0e0");
    QCOMPARE(choose(0, Qt::black), "#000000 on #e0e0e0"); // as the text: kept
    QCOMPARE(choose(0, Qt::blue), "#000000 on #0000ff");
    QCOMPARE(choose(1, Qt::blue), "#000000 on #0000ff"); // as the background: kept
    QCOMPARE(choose(1, Qt::yellow), "#ffff00 on #0000ff");
    QCOMPARE(choose(2), "#000000 on #ffffff"); // reset: black on white
    QCOMPARE(choose(3), "#000000 on #ffffff"); // outside the menu: nothing
    QCOMPARE(choose(0), "#000000 on #ffff00");
    // Each dialog opens with the colour the last one gave.
    QCOMPARE(fixture.messages.colourDialogs,
             (std::vector<QColor>{Qt::black, Qt::black, Qt::blue, Qt::blue, Qt::yellow}));
}

void ViewerTest::openCancelledThenChosen()
{
    ViewerFixture fixture;
    frmViewer& viewer = fixture.show(fixture.file("a.txt", "abc\n"));
    viewer.mnuOpen()->trigger(); // cancelled: nothing changes
    QCOMPARE(fixture.messages.fileDialogs.size(), size_t(1));
    const OpenFileDialog& dialog = fixture.messages.fileDialogs.front();
    QCOMPARE(dialog.filters.join(u'|'),
             "Text files (*.txt)|Output files (*.out)|Listings (*.lst)|All files (*.*)");
    QVERIFY(dialog.initialDirectory.isEmpty()); // the current directory
    QCOMPARE(fixture.state.ViewerFile, fixture.base + "/a.txt");
    QCOMPARE(fixture.shownText(), "abc");

    const QString other = fixture.file("Scalvane.out", "output\r\n");
    fixture.messages.fileAnswers.push_back(other);
    viewer.mnuOpen()->trigger();
    QCOMPARE(viewer.windowTitle(), "Text Viewer: " + other);
    QCOMPARE(fixture.state.ViewerFile, other);
    QCOMPARE(fixture.shownText(), "output\n");

    // A name that is no UTF-8 opens its own bytes, not its lookalike's.
    if (!test::namesMayBeAnyBytes())
        QSKIP(test::kNamesAreUtf16);
    fixture.file("a\uFFFD.txt", "lookalike\n");
    const QString odd = decodeNativeName(QFile::encodeName(fixture.base) + "/a\xFF.txt");
    writeFile(odd, "own bytes\n");
    fixture.messages.fileAnswers.push_back(odd);
    viewer.mnuOpen()->trigger();
    QCOMPARE(viewer.windowTitle(), "Text Viewer: " + fixture.base + "/a\\xFF.txt");
    QCOMPARE(fixture.shownText(), "own bytes");
}

QTEST_MAIN(ViewerTest)
#include "tst_viewer.moc"
