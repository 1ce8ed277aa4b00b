// The .DG header as the options dialog rewrites it: the fields of line 3,
// and the file streamed through in pieces of every size.

#include "dgoptions/HeaderFields.h"
#include "dgoptions/HeaderRewriter.h"

#include <QTest>

using namespace kadrix;

Q_DECLARE_METATYPE(kadrix::HeaderError)

namespace {

QByteArray fields(std::initializer_list<const char*> texts)
{
    QByteArray line;
    for (const char* text : texts)
        line += QByteArray(text).rightJustified(kFieldWidth, ' ');
    return line;
}

// Line 3 of the panning example: 1, 0, 3, 12, eight zeros and 7.
const QByteArray kThird =
    fields({"1", "0", "3", "12", "0", "0", "0", "0", "0", "0", "0", "0", "7"});
const QByteArray kPanned =
    fields({"2", "4", "3", "12", "0", "0", "0", "0", "0", "0", "0", "0", "7"});
const QByteArray kLine1 = "Walk, trial 1, sagittal view, 50 Hz";
const QByteArray kLine2 =
    "        24        12    150.00      0.00      0.00    100.00      0.00      0.00";

struct Rewritten {
    QByteArray output;
    HeaderError error = HeaderError::None;
};

Rewritten rewriteInPieces(const QByteArray& input, HeaderChoices choices, qsizetype pieceSize)
{
    HeaderRewriter rewriter(choices);
    Rewritten result;
    for (qsizetype at = 0; at < input.size(); at += pieceSize)
        rewriter.feed(QByteArrayView(input).sliced(at, std::min(pieceSize, input.size() - at)),
                      result.output);
    rewriter.finish(result.output);
    result.error = rewriter.error();
    return result;
}

} // namespace

class DgHeaderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fieldNumbers_data();
    void fieldNumbers();
    void thirdLine_data();
    void thirdLine();
    void wholeFile_data();
    void wholeFile();
};

// A field's number, and the whole number field 13 rounds it to.
void DgHeaderTest::fieldNumbers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");

    QTest::newRow("right-aligned") << QByteArray("    1") << 1.0 << 1.0;
    QTest::newRow("leading zeros") << QByteArray("00001") << 1.0 << 1.0;
    QTest::newRow("blanks inside") << QByteArray(" 1 2\t") << 12.0 << 12.0;
    QTest::newRow("negative") << QByteArray(" -3  ") << -3.0 << -3.0;
    QTest::newRow("plus") << QByteArray("+4") << 4.0 << 4.0;
    QTest::newRow("half to even below") << QByteArray("  2.5") << 2.5 << 2.0;
    QTest::newRow("half to even above, text after") << QByteArray("3.5x") << 3.5 << 4.0;
    QTest::newRow("negative half") << QByteArray(" -2.5") << -2.5 << -2.0;
    QTest::newRow("no leading digit") << QByteArray(" -.7") << -0.7 << -1.0;
    QTest::newRow("second point") << QByteArray("1.2.3") << 1.2 << 1.0;
    QTest::newRow("exponent") << QByteArray("1E2") << 100.0 << 100.0;
    QTest::newRow("D exponent") << QByteArray("1d-1") << 0.1 << 0.0;
    QTest::newRow("bare E") << QByteArray("1E") << 1.0 << 1.0;
    QTest::newRow("blank") << QByteArray("     ") << 0.0 << 0.0;
    QTest::newRow("letters") << QByteArray("abc") << 0.0 << 0.0;
    QTest::newRow("two signs") << QByteArray("--1") << 0.0 << 0.0;
}

void DgHeaderTest::fieldNumbers()
{
    QFETCH(QByteArray, text);
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(leadingNumber(text), value);
    QCOMPARE(roundHalfEven(value), rounded);
}

void DgHeaderTest::thirdLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("reverseX");
    QTest::addColumn<int>("refSystem");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<HeaderError>("error");

    const auto ok = HeaderError::None;
    QTest::newRow("X reversed, panning") << kThird << 1 << 4 << kPanned << ok;
    QTest::newRow("grayed, leave unchanged") << kThird << 2 << 0 << kThird << ok;
    QTest::newRow("unchecked gives 1")
        << kPanned << 0 << 0 << kThird.left(5) + kPanned.mid(5) << ok;
    QTest::newRow("past column 65 is dropped") << kThird + "  extra" << 2 << 0 << kThird << ok;
    QTest::newRow("leading zeros, left-aligned")
        << QByteArray("00001") + QByteArray("3    ") + kThird.mid(10) << 2 << 0
        << kThird.left(5) + QByteArray("    3") + kThird.mid(10) << ok;
    QTest::newRow("short line reads zeros")
        << QByteArray("    2    5") << 2 << 0
        << fields({"2", "5", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}) << ok;
    QTest::newRow("empty line") << QByteArray() << 0 << 9
                                << fields({"1", "9", "0", "0", "0", "0", "0", "0", "0", "0", "0",
                                           "0", "0"})
                                << ok;
    QTest::newRow("fractions that fit and that do not")
        << fields({"1", "0", "2.5", "12.34", "-1.5"}) + kThird.mid(25) << 2 << 0
        << fields({"1", "0", "2.5", "12.34", "-1.5"}) + kThird.mid(25) << ok;
    QTest::newRow("a value Fixed5 would limit is kept")
        << fields({"1", "0", "99999", "-9999", "1e9"}) + kThird.mid(25) << 2 << 0
        << fields({"1", "0", "99999", "-9999", "1e9"}) + kThird.mid(25) << ok;
    QTest::newRow("a short field is kept five columns wide")
        << kThird.left(55) + "1e9" << 2 << 0 << kThird.left(55) + "1e9      0" << ok;
    QTest::newRow("field 13 rounded to even") << kThird.left(60) + QByteArray("  2.5") << 2 << 0
                                              << kThird.left(60) + QByteArray("    2") << ok;
    QTest::newRow("field 13 at the 16-bit limit") << kThird.left(60) + QByteArray("32767") << 2 << 0
                                                  << kThird.left(60) + QByteArray("32767") << ok;
    QTest::newRow("field 13 beyond 16 bits")
        << kThird.left(60) + QByteArray("32768") << 2 << 0 << QByteArray() << HeaderError::Overflow;
    QTest::newRow("field 13 rounds beyond 16 bits")
        << kThird.left(60) + QByteArray("1e5") << 2 << 0 << QByteArray() << HeaderError::Overflow;
}

void DgHeaderTest::thirdLine()
{
    QFETCH(QByteArray, line);
    QFETCH(int, reverseX);
    QFETCH(int, refSystem);
    QFETCH(QByteArray, expected);
    QFETCH(HeaderError, error);

    const ThirdLine rewritten = rewriteThirdLine(line, {reverseX, refSystem});
    QCOMPARE(rewritten.error, error);
    QCOMPARE(rewritten.text, expected);
    if (error == HeaderError::None)
        QCOMPARE(rewritten.text.size(), kThirdLineWidth);
}

void DgHeaderTest::wholeFile_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<HeaderError>("error");

    const auto ok = HeaderError::None;
    const QByteArray header = kLine1 + "\r\n" + kLine2 + "\r\n";
    const QByteArray newHeader = header + kPanned + "\r\n";
    const QByteArray data = "    1   109.9    25.0\r\n    2   119.7    24.8\r\n";

    QTest::newRow("CR LF throughout") << header + kThird + "\r\n" + data << newHeader + data << ok;
    QTest::newRow("line feeds") << kLine1 + "\n" + kLine2 + "\n" + kThird + "\nA\nB\n"
                                << newHeader + "A\r\nB\r\n"
                                << ok;
    QTest::newRow("carriage returns")
        << kLine1 + "\r" + kLine2 + "\r" + kThird + "\rA\rB\r" << newHeader + "A\r\nB\r\n"
        << ok;
    QTest::newRow("mixed, empty lines between")
        << kLine1 + "\r" + kLine2 + "\n" + kThird + "\r\nA\r\r\nB\n\rC\n\nD"
        << newHeader + "A\r\n\r\nB\r\n\r\nC\r\n\r\nD\r\n"
        << ok;
    QTest::newRow("header ends the file without line end") << header + kThird << newHeader << ok;
    QTest::newRow("empty third line")
        << header + "\r\n" + data
        << header + fields({"2", "4", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}) +
               "\r\n" + data
        << ok;
    QTest::newRow("binary after the header is kept")
        << header + kThird + "\r\n" + QByteArray("\0\x1a\xff\t\r\n", 6)
        << newHeader + QByteArray("\0\x1a\xff\t\r\n", 6) << ok;
    QTest::newRow("only two lines") << header << QByteArray() << HeaderError::TooFewLines;
    QTest::newRow("two lines without end")
        << kLine1 + "\n" + kLine2 << QByteArray() << HeaderError::TooFewLines;
    QTest::newRow("empty file") << QByteArray() << QByteArray() << HeaderError::TooFewLines;
    QTest::newRow("third line not text")
        << header + kThird.left(20) + QByteArray("\0", 1) + "\r\n" + data << QByteArray()
        << HeaderError::NotText;
    QTest::newRow("control character past column 65")
        << header + kThird + "   \x1a" + "\r\n" + data << QByteArray() << HeaderError::NotText;
    QTest::newRow("field 13 overflows")
        << header + kThird.left(60) + "99999\r\n" + data << QByteArray() << HeaderError::Overflow;
}

// Every piece size gives the same bytes: line ends split between pieces
// (a CR at the end of one, its LF at the start of the next) included. A
// file that cannot be rewritten yields no complete output.
void DgHeaderTest::wholeFile()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    QFETCH(HeaderError, error);

    for (const qsizetype pieceSize : {qsizetype(1), qsizetype(2), qsizetype(3), qsizetype(64),
                                      std::max<qsizetype>(1, input.size())}) {
        const Rewritten result = rewriteInPieces(input, {1, 4}, pieceSize);
        QCOMPARE(result.error, error);
        if (error == HeaderError::None)
            QCOMPARE(result.output, expected);
    }
}

QTEST_GUILESS_MAIN(DgHeaderTest)
#include "tst_dgheader.moc"
