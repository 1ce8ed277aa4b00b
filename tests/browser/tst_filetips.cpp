// The tooltips of the file lists: what a .DG header and an export's first
// bytes tell, the reading of a file's head, and the tooltip over a list item.

#include "HostFiles.h"
#include "MainWindowHarness.h"
#include "TestFiles.h"
#include "app/MainControls.h"
#include "browser/Browser.h"
#include "browser/BrowserPanel.h"
#include "browser/FileList.h"
#include "browser/FileTipText.h"
#include "platform/FileHead.h"
#include "platform/NativeNames.h"

#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

using namespace kadrix;
using namespace kadrix::test;

class FileTipsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dataFileTip_data();
    void dataFileTip();
    void convertFileTip_data();
    void convertFileTip();
    void readsHeads();
    void showsOverListItems();
};

namespace {

FileHead headOf(const QByteArray& bytes, bool whole)
{
    return FileHead{{123, 0, 0}, bytes, whole, false};
}

// All but the last line, which holds the size and date; that line alone
// when it does not.
QString withoutSizeAndDate(const QString& tip)
{
    const QString last = tip.section(QLatin1Char('\n'), -1);
    return last.startsWith(QStringLiteral("123 bytes, ")) ? tip.section(QLatin1Char('\n'), 0, -2)
                                                          : last;
}

} // namespace

void FileTipsTest::dataFileTip_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<QString>("tip");
    const QString asDigitized = QStringLiteral("\nX coordinates as digitized\nReference system ");
    QTest::newRow("walk") << QByteArray("Walk, 50 Hz\r\n  24  12\r\n    1    0    3\r\n1 2\r\n")
                          << true << QStringLiteral("Walk, 50 Hz") + asDigitized + "0";
    QTest::newRow("line feeds, reversed, panning")
        << QByteArray("T\n2\n    2    4\n") << true
        << QStringLiteral("T\nX coordinates reversed\nReference system 4: Panning");
    QTest::newRow("carriage returns, a name with &")
        << QByteArray("T\r2\r    1    6\r") << true << "T" + asDigitized + "6: Framing & moving";
    QTest::newRow("leading zeros, blanks inside") << QByteArray("T\r\n2\r\n00001 0 9 \r\n") << true
                                                  << "T" + asDigitized + "9: Framed & Panning";
    QTest::newRow("last line without end")
        << QByteArray("T\r\n2\r\n    1    2") << true << "T" + asDigitized + "2: Moving camera";
    QTest::newRow("unknown codes") << QByteArray("T\r\n2\r\n  7.5   12\r\n") << true
                                   << QStringLiteral("T\nX-reversal code 7.5\nReference system 12");
    QTest::newRow("empty third line") << QByteArray("T\r\n2\r\n\r\n") << true
                                      << QStringLiteral("T\nX-reversal code 0\nReference system 0");
    QTest::newRow("two lines") << QByteArray("T\r\n2\r\n") << true
                               << QStringLiteral("T\nHeader incomplete: no third line");
    QTest::newRow("third line cut by the read")
        << QByteArray("T\r\n2\r\n    1") << false
        << QStringLiteral("T\nHeader incomplete: no third line");
    QTest::newRow("empty file") << QByteArray() << true
                                << QStringLiteral("\nHeader incomplete: no third line");
    QTest::newRow("binary third line")
        << QByteArray("T\r\n2\r\n\x01\x02\0\x03  1\r\n", 15) << true
        << QStringLiteral("T\nHeader damaged: its third line is not text");
    QTest::newRow("first line no UTF-8, a tab left out")
        << QByteArray("M\xfcller\t1\r\n2\r\n    1    1\r\n") << true
        << QStringLiteral("M\u00fcller1") + asDigitized + "1: No fixed points";
    QTest::newRow("first line longer than the read")
        << QByteArray(5000, 'A') << false
        << QString(100, QLatin1Char('A')) + QChar(0x2026) + "\nHeader incomplete: no third line";
}

void FileTipsTest::dataFileTip()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, whole);
    QTEST(withoutSizeAndDate(kadrix::dataFileTip(headOf(head, whole))), "tip");
}

void FileTipsTest::convertFileTip_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<QString>("tip");
    QTest::newRow("Vicon") << QByteArray("Trajectories\r\n100\r\n,,S:LFHD,,,S:RFHD,,,S:LBHD,,\r\n"
                                         "Frame,Sub Frame,X,Y,Z\r\n")
                           << false << "Vicon trajectories CSV, 3 points, 100 Hz";
    QTest::newRow("Vicon, commas after, no names yet")
        << QByteArray("TRAJECTORIES,,\n120,,\n") << true << "Vicon trajectories CSV, 120 Hz";
    QTest::newRow("Qualisys") << QByteArray("NO_OF_FRAMES\t900\nNO_OF_CAMERAS\t8\n"
                                            "NO_OF_MARKERS\t25\nFREQUENCY\t100\nFrame\tTime\n")
                              << true << "Qualisys TSV, 900 frames, 25 points, 100 Hz";
    QTest::newRow("Qualisys cut by the read")
        << QByteArray("NO_OF_FRAMES\t900\nNO_OF_MARKERS\t2") << false << "Qualisys TSV, 900 frames";
    QTest::newRow("Qualisys, values no numbers")
        << QByteArray("NO_OF_FRAMES\tmany\nFREQUENCY\t\n") << true << "Qualisys TSV";
    QTest::newRow("TRC") << QByteArray("PathFileType\t4\t(X/Y/Z)\twalk.trc\n"
                                       "DataRate\tCameraRate\tNumFrames\tNumMarkers\tUnits\n"
                                       "60.00\t60.00\t300\t10\tmm\n")
                         << true << "Motion Analysis TRC, 300 frames, 10 points, 60 Hz";
    QTest::newRow("TRC without values")
        << QByteArray("PathFileType\t4\nDataRate\n") << true << "Motion Analysis TRC";
    QTest::newRow("TRC, counts no whole numbers")
        << QByteArray("PathFileType\t4\nNumFrames\tNumMarkers\n-3\t2.5\n") << true
        << "Motion Analysis TRC";
    QTest::newRow("columns under a heading")
        << QByteArray("Frame,Time,X\r\n1,0.1,2\r\n2,0.2,3\r\n") << true
        << "Columns of numbers, 3 columns, 1 heading line, 3 lines";
    QTest::newRow("columns cut by the read")
        << QByteArray("# Force\n# t Fx\n0 1 2\n0.1\t1 2\n0.2 1") << false
        << "Columns of numbers, 3 columns, 2 heading lines, at least 5 lines";
    QTest::newRow("ragged columns")
        << QByteArray("a b\n1 2\n1 2 3\n") << true << "Text file, 3 lines";
    QTest::newRow("one line, no end") << QByteArray("hello") << true << "Text file, 1 line";
    QTest::newRow("no UTF-8") << QByteArray("caf\xe9\r\n\x1a") << true << "Text file, 2 lines";
    QTest::newRow("empty") << QByteArray() << true << "Empty file";
    QTest::newRow("binary") << QByteArray("MZ\x90\0\x03", 5) << false << "Binary file";
    QTest::newRow("control characters")
        << QByteArray("ab\x01\x02\x03\x04\x05") << true << "Binary file";
}

void FileTipsTest::convertFileTip()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, whole);
    QTEST(withoutSizeAndDate(kadrix::convertFileTip(headOf(head, whole))), "tip");
}

// A head of at most the limit; the whole file when it ends there; nothing
// read again while the stamp is the one known; no pipe, no missing file.
void FileTipsTest::readsHeads()
{
    QTemporaryDir root;
    const QString name = root.filePath(namesMayBeAnyBytes() ? decodeNativeName("M\xfcller.dg")
                                                            : QStringLiteral("M\u00FCller.dg"));
    writeFile(name, "12345678");
    for (const auto& [limit, bytes, whole] :
         {std::tuple{4, "1234", false}, {8, "12345678", true}, {9, "12345678", true}}) {
        const std::optional<FileHead> head = readFileHead(name, limit);
        QVERIFY(head && head->stamp.size == 8 && !head->unchanged);
        QCOMPARE(head->bytes, QByteArray(bytes));
        QCOMPARE(head->whole, whole);
    }
    const FileStamp stamp = readFileHead(name, 4)->stamp;
    QVERIFY(readFileHead(name, 4, stamp)->unchanged);
    writeFile(name, "1234567");
    QCOMPARE(readFileHead(name, 4, stamp)->bytes, QByteArray("1234"));
    const QString pipe = root.filePath(QStringLiteral("pipe.dg"));
    if (makeNamedPipe(pipe))
        QVERIFY(!readFileHead(pipe, 4));
    QVERIFY(!readFileHead(root.filePath(QStringLiteral("gone.dg")), 4));
}

// A file's own tooltip over its item, once read, its header's text never
// taken for markup; the list's own tooltip over anything else.
void FileTipsTest::showsOverListItems()
{
    MainWindowHarness harness;
    // Markup and an odd byte in the name; Windows allows neither in names.
    const QString name =
        namesMayBeAnyBytes() ? decodeNativeName("<b>\xfc.dg") : QStringLiteral("&b\u00FC.dg");
    harness.addDataFile(name, "Walk <1> & run\r\n2\r\n    2    4\r\n");
    harness.addDataFile(QStringLiteral("walk.cn"), "Walk\r\n2\r\n    2    4\r\n");
    harness.addDataFile(QStringLiteral("walk.csv"), "Frame,X\r\n1,2\r\n2,3\r\n");
    harness.start();
    const BrowserPanel& panel = harness.window().browser().panel();
    // The tooltip's text, its blanks kept as no-break spaces.
    const auto shown = [] { return QToolTip::text().replace(QChar::Nbsp, QLatin1Char(' ')); };
    const auto hover = [&](FileList* list, int row) {
        const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
        const QPoint global = list->viewport()->mapToGlobal(at);
        QCursor::setPos(global);
        QHelpEvent event(QEvent::ToolTip, at, global);
        QCoreApplication::sendEvent(list->viewport(), &event);
        return shown();
    };
    QCOMPARE(hover(panel.filDatafiles, 0), panel.filDatafiles->toolTip());
    QTRY_VERIFY(shown().contains(QStringLiteral("Walk &lt;1&gt; &amp; run")));
    QVERIFY(shown().contains(QStringLiteral("Reference system 4: Panning")));
    QVERIFY(hover(panel.filDatafiles, 0).contains(QStringLiteral("Panning")));
    QCOMPARE(hover(panel.filDatafiles, 1), panel.filDatafiles->toolTip());
    hover(panel.filConverts, 0);
    QTRY_VERIFY(shown().contains(QStringLiteral("Columns of numbers, 2 columns")));
}

QTEST_MAIN(FileTipsTest)
#include "tst_filetips.moc"
