// The big-text view's engine on generated files: long lines reachable row by
// row, searches across pieces and deep in lines, the line index's memory, and
// small pieces that put every boundary of the engine inside a small text.

#include "TestFiles.h"
#include "docs/BigTextView.h"
#include "docs/ViewerText.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

using namespace kadrix;
using namespace kadrix::test;

namespace {

// A view of `contents`, indexed to the end.
struct Box {
    explicit Box(const QByteArray& contents, const TextPieces& pieces = {})
    {
        writeFile(path, contents);
        view.setPieces(pieces);
        view.resize(420, 300);
        view.show();
        view.setFile(openViewerFile(path).file);
        indexed = QTest::qWaitFor([this] { return !view.isIndexing(); }, 60000);
    }
    QScrollBar& bar() { return *view.verticalScrollBar(); }
    QString topRow() const { return view.visibleRows().value(0); }

    QTemporaryDir dir;
    QString path = dir.filePath("text.txt");
    BigTextView view;
    bool indexed = false;
};

// A line that says where each of its bytes is: "00000000 00000009 ...".
QByteArray numberedLine(qint64 size)
{
    QByteArray line;
    line.reserve(size + 9);
    while (line.size() < size)
        line += QByteArray::number(line.size()).rightJustified(8, '0') + ' ';
    line.truncate(size);
    return line;
}

const QByteArray kLongLine = numberedLine(100000);
const QByteArray kAfterLongLine =
    "first line\n" + kLongLine + "\r\nafter one\nafter two\nthe last line\n";

// Filler of two-, three- and four-byte characters and tabs, so that bytes
// and characters differ, with `needle` at byte `at` of one line.
QByteArray lineHolding(const QByteArray& needle, qint64 at, qint64 size)
{
    const QByteArray filler = "caf\xC3\xA9\t\xE2\x82\xAC \xF0\x9F\x98\x80 ";
    QByteArray line;
    line.reserve(size);
    while (line.size() + filler.size() <= at)
        line += filler;
    line += QByteArray(at - line.size(), '.') + needle;
    return "before\r\n" + line + QByteArray(size - line.size(), '-') + "\r\nafter\n";
}

} // namespace

Q_DECLARE_METATYPE(kadrix::TextPieces)

class BigTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void measuredFaults_data();
    void measuredFaults();
    void everyBoundary_data();
    void everyBoundary();
    void searchProgressAndCancel();
};

void BigTextTest::measuredFaults_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("seen");

    const QString longLine = QString::fromLatin1(kLongLine);
    const qint64 piece = 4 * 1024 * 1024;
    QTest::newRow("after a long line: End") << kAfterLongLine << "End"
                                            << "the last line";
    QTest::newRow("after a long line: the scroll bar's end") << kAfterLongLine << "bar to its end"
                                                             << "the last line";
    QTest::newRow("a long line: every row by Down") << kAfterLongLine << "Down" << longLine;
    QTest::newRow("a long line: the scroll bar to its middle")
        << kAfterLongLine << "bar to 50000 into line 1"
        << "the row dragged to";
    QTest::newRow("a match across a piece boundary")
        << QByteArray("x\n" + numberedLine(piece - 5) + "NeeDle" + numberedLine(400000))
        << "find NEEDLE"
        << "NeeDle";
    QTest::newRow("a match 5 MiB into a line") << lineHolding("N\xC3\xA9"
                                                              "edle",
                                                              5 * 1024 * 1024, 6 * 1024 * 1024)
                                               << "find n\u00C9EDLE"
                                               << "N\u00E9edle";
    const QByteArray marked = "\xEF\xBB\xBFTRIAL WALK1\nsecond\n";
    QTest::newRow("a text with a byte-order mark: find") << marked << "find WALK1"
                                                         << "WALK1";
    QTest::newRow("a text with a byte-order mark: clicks on its first row")
        << marked << "click columns 6 to 11"
        << "WALK1";
    QTest::newRow("the index of 16 MB of empty lines")
        << QByteArray(16 * 1024 * 1024, '\n') << "index"
        << "within 1/16 of the file";
}

// Each row is a fault measured in an earlier engine: the rows after a long
// line could not be reached, a match across two pieces was missed, one deep
// in a line was selected in the wrong place, the line index took eight
// bytes a line, and in a text that starts with a byte-order mark matches and
// clicks landed a character early.
void BigTextTest::measuredFaults()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, action);
    QFETCH(QString, seen);
    Box box(contents);
    QVERIFY(box.indexed);
    BigTextView& view = box.view;

    if (action == "End") {
        QTest::keyClick(&view, Qt::Key_End);
        QCOMPARE(view.lastVisibleLine(), view.lineCount() - 1);
        QCOMPARE(view.visibleRows().constLast(), seen);
    } else if (action == "bar to its end") {
        box.bar().setValue(box.bar().maximum());
        QCOMPARE(view.visibleRows().constLast(), seen);
    } else if (action == "Down") {
        // The top rows on the way down, one key at a time, and the rest of
        // the line on the last screen, above the three lines after it, make
        // up the line.
        QTest::keyClick(&view, Qt::Key_Down);
        QString rows;
        for (int value = -1; value != box.bar().value(); QTest::keyClick(&view, Qt::Key_Down)) {
            value = box.bar().value();
            rows += box.topRow();
        }
        const QStringList last = view.visibleRows();
        QCOMPARE(last.constLast(), "the last line");
        QCOMPARE(rows + last.mid(1, last.size() - 4).join(QString()), seen);
    } else if (action == "bar to 50000 into line 1") {
        box.bar().setValue(int(qstrlen("first line\n")) + 50000);
        const qsizetype at = QString::fromLatin1(kLongLine).indexOf(box.topRow());
        QCOMPARE(view.firstVisibleLine(), 1);
        QVERIFY2(at > 50000 - box.topRow().size() && at <= 50000, qPrintable(box.topRow()));
    } else if (action.startsWith("find ")) {
        view.find(action.mid(5));
        QTRY_VERIFY_WITH_TIMEOUT(!view.isSearching(), 30000);
        QCOMPARE(view.selectedText(), seen);
        QCOMPARE(view.firstVisibleLine() <= 1 && 1 <= view.lastVisibleLine(), true);
        QVERIFY(view.visibleRows().join(QString()).contains(seen));
    } else if (action == "click columns 6 to 11") {
        const double width = QFontMetricsF(view.font()).horizontalAdvance(u'M');
        const auto column = [&](double at) { return QPoint(4 + int((at + 0.2) * width), 2); };
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, column(6));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, column(11));
        QCOMPARE(view.selectedText(), seen);
    } else if (action == "index") {
        QCOMPARE(view.lineCount(), contents.size());
        QVERIFY2(view.indexBytes() <= contents.size() / 16,
                 qPrintable(QString::number(view.indexBytes())));
    }
}

void BigTextTest::everyBoundary_data()
{
    QTest::addColumn<TextPieces>("pieces");
    QTest::newRow("pieces of a few bytes") << TextPieces{16, 64, 256, 64, 64};
    QTest::newRow("pieces as for big files") << TextPieces{};
}

// Pieces of a few bytes put checkpoints, index and search pieces and row
// anchors everywhere, over CR LF, lone CRs, tabs and characters of up to
// four bytes: every line reads as a whole, every row is reached by Down and
// Up alike and by the scroll bar, and searches select what they find. With
// the pieces as for big files, lines are counted many bytes at a time.
void BigTextTest::everyBoundary()
{
    QFETCH(TextPieces, pieces);
    const QList<QByteArray> tokens{"word ",
                                   "W\xC3\xB6rter ",
                                   "\xE2\x82\xAC",
                                   "\xF0\x9F\x98\x80",
                                   "\t",
                                   "Zz",
                                   "\xCE\x94",
                                   "a\tb ",
                                   "\xE2\x82\xAC\xE2\x82\xAC ",
                                   "\r\n",
                                   "\n",
                                   "\r",
                                   QByteArray(150, 'x')};
    QByteArray text;
    quint32 seed = 7;
    while (text.size() < 20000) {
        seed = seed * 1103515245 + 12345;
        text += tokens.at(int((seed >> 16) % quint32(tokens.size())));
    }
    Box box(text + '\n', pieces);
    QVERIFY(box.indexed);
    BigTextView& view = box.view;
    const QString whole = decodeViewerText(text, TextEncoding::Utf8);
    const QStringList lines = whole.split(u'\n');
    QCOMPARE(view.lineCount(), lines.size());
    for (qsizetype line = 0; line < lines.size(); ++line)
        QCOMPARE(view.lineText(line), lines.at(line));

    // Down to the last screen, noting each top row, and Up again.
    std::vector<std::pair<int, QString>> down;
    for (int value = -1; value != box.bar().value(); QTest::keyClick(&view, Qt::Key_Down)) {
        value = box.bar().value();
        down.emplace_back(value, box.topRow());
        QVERIFY(!box.topRow().contains(QChar::ReplacementCharacter)); // no character cut
    }
    QCOMPARE(box.bar().value(), box.bar().maximum());
    QTest::keyClick(&view, Qt::Key_End);
    QCOMPARE(box.bar().value(), box.bar().maximum());
    for (auto row = down.rbegin(); row != down.rend(); ++row) {
        QCOMPARE(box.bar().value(), row->first);
        QCOMPARE(box.topRow(), row->second);
        QTest::keyClick(&view, Qt::Key_Up);
    }
    // The bar's arrow and the wheel move whole rows.
    box.bar().triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(box.bar().value(), down.at(1).first);
    QWheelEvent notch(QPointF(10, 10), view.mapToGlobal(QPointF(10, 10)), {}, {0, -120},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &notch);
    QCOMPARE(box.bar().value(), down.at(1 + QApplication::wheelScrollLines()).first);
    // The scroll bar at any byte of a row shows that row on top.
    for (size_t i = 0; i + 1 < down.size(); i += 7) {
        box.bar().setValue(down[i + 1].first - 1);
        QCOMPARE(box.topRow(), down[i].second);
    }

    for (qsizetype at : {0, 333, 4097, 9999, 15000, int(whole.size()) - 6}) {
        while (whole.at(at).isLowSurrogate() || whole.at(at + 4).isHighSurrogate())
            ++at; // whole characters only
        QTest::keyClick(&view, Qt::Key_Home);
        view.selectAll();
        const QString needle = whole.mid(at, 5);
        view.find(needle.toUpper()); // from the start of the selection: the top
        QTRY_VERIFY(!view.isSearching());
        QCOMPARE(view.selectedText(), whole.mid(whole.indexOf(needle, 0, Qt::CaseInsensitive), 5));
    }
}

// A search says how far it has come, and stops at once on Esc: nothing it
// found before is reported after.
void BigTextTest::searchProgressAndCancel()
{
    Box box(QByteArray(8 * 1024 * 1024, 'a'));
    QVERIFY(box.indexed);
    TextSearch search;
    search.setPieceSize(64 * 1024);
    QSignalSpy progress(&search, &TextSearch::progressed);
    QSignalSpy ended(&search, &TextSearch::notFound);
    search.start(openViewerFile(box.path).file, "b", 0);
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 30000);
    QVERIFY(progress.count() >= 50);
    for (qsizetype i = 1; i < progress.count(); ++i)
        QVERIFY(progress.at(i - 1).at(0).toInt() < progress.at(i).at(0).toInt());
    QVERIFY(progress.constLast().at(0).toInt() < 100);

    BigTextView& view = box.view;
    QTest::keyClick(&view, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(view.findField(), "b");
    QVERIFY(view.isSearching());
    QCOMPARE(view.findStatus(), "Searching...");
    QTest::keyClick(view.findField(), Qt::Key_Escape);
    QVERIFY(!view.isSearching());
    QCoreApplication::processEvents();
    QCOMPARE(view.findStatus(), QString());
    QVERIFY(!view.findField()->isVisible());
}

QTEST_MAIN(BigTextTest)
#include "tst_bigtext.moc"
