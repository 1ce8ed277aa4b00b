// The .DG header rewrite: line 3 field by field, and the file streamed
// through in pieces of every size.

#include "TrialTexts.h"
#include "dgoptions/HeaderRewriter.h"

#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

Q_DECLARE_METATYPE(kadrix::HeaderError)

class DgHeaderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void header_data();
    void header();
};

void DgHeaderTest::header_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("reverseX");
    QTest::addColumn<int>("refSystem");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<HeaderError>("error");
    const auto ok = HeaderError::None;
    const QByteArray none;

    QTest::newRow("X reversed, panning") << dg(kThird) << 1 << 4 << dg(kPanned) << ok;
    QTest::newRow("grayed, leave unchanged") << dg(kThird) << 2 << 0 << dg(kThird) << ok;
    QTest::newRow("unchecked gives 1") << dg(kPanned) << 0 << 0 << dg("    1" + kPanned.mid(5)) << ok;
    QTest::newRow("past column 65 is dropped") << dg(kThird + "  extra") << 2 << 0 << dg(kThird) << ok;
    QTest::newRow("leading zeros") << dg("00001" + kThird.mid(5)) << 2 << 0 << dg(kThird) << ok;
    QTest::newRow("each field is the number its text begins with")
        << dg("3    " "0002 " " 1\t2 " " -3  " "+4   " "3.5x " "1D2  " "1d-1 " "1.2.3" "1E   " "abc  " "--1  " " -.7 ") << 2 << 0
        << dg("    3" "    2" "   12" "   -3" "    4" "  3.5" "  100" "   .1" "  1.2" "    1" "    0" "    0" "   -1") << ok;
    QTest::newRow("a field Fixed5 cannot write is kept as read")
        << dg(kThird.left(10) + "12.34" "99999" "  1e9" " -1.5" "-9999" + kThird.mid(35, 20) + "1e9") << 2 << 0
        << dg(kThird.left(10) + "12.34" "99999" "  1e9" " -1.5" "-9999" + kThird.mid(35, 20) + "1e9      0") << ok;
    QTest::newRow("short line reads zeros") << dg("    2    5") << 2 << 0 << dg("    2    5" + kZeros) << ok;
    QTest::newRow("empty line 3") << dg("") << 1 << 4 << dg("    2    4" + kZeros) << ok;
    QTest::newRow("field 13 rounded half down to even") << dg(kThird.left(60) + "  2.5") << 2 << 0 << dg(kThird.left(60) + "    2") << ok;
    QTest::newRow("field 13 rounded half up to even") << dg(kThird.left(60) + "  3.5") << 2 << 0 << dg(kThird.left(60) + "    4") << ok;
    QTest::newRow("field 13 negative half") << dg(kThird.left(60) + " -2.5") << 2 << 0 << dg(kThird.left(60) + "   -2") << ok;
    QTest::newRow("field 13 at the 16-bit limit") << dg(kThird.left(60) + "32767") << 2 << 0 << dg(kThird.left(60) + "32767") << ok;
    QTest::newRow("field 13 beyond 16 bits") << dg(kThird.left(60) + "32768") << 2 << 0 << none << HeaderError::Overflow;
    QTest::newRow("line feeds") << kLine1 + "\n" + kLine2 + "\n" + kThird + "\nA\nB\n" << 1 << 4 << head(kPanned) + "A\r\nB\r\n" << ok;
    QTest::newRow("carriage returns") << kLine1 + "\r" + kLine2 + "\r" + kThird + "\rA\rB\r" << 1 << 4 << head(kPanned) + "A\r\nB\r\n" << ok;
    QTest::newRow("mixed, empty lines between") << kLine1 + "\r" + kLine2 + "\n" + kThird + "\r\nA\r\r\nB\n\rC\n\nD" << 1 << 4
        << head(kPanned) + "A\r\n\r\nB\r\n\r\nC\r\n\r\nD\r\n" << ok;
    QTest::newRow("header ends the file without line end") << head(kThird).chopped(2) << 1 << 4 << head(kPanned) << ok;
    QTest::newRow("binary after the header is kept") << head(kThird) + kBinary << 1 << 4 << head(kPanned) + kBinary << ok;
    QTest::newRow("only two lines") << kLine1 + "\r\n" + kLine2 + "\r\n" << 1 << 4 << none << HeaderError::TooFewLines;
    QTest::newRow("two lines without end") << kLine1 + "\n" + kLine2 << 1 << 4 << none << HeaderError::TooFewLines;
    QTest::newRow("empty file") << none << 1 << 4 << none << HeaderError::TooFewLines;
    QTest::newRow("line 3 not text") << dg(kThird.left(20) + '\0' + kThird.mid(21)) << 1 << 4 << none << HeaderError::NotText;
    QTest::newRow("control character past column 65") << dg(kThird + "   \x1a") << 1 << 4 << none << HeaderError::NotText;
    // clang-format on
}

// Every piece size gives the same bytes, line ends split between pieces (a
// CR at the end of one, its LF at the start of the next) included.
void DgHeaderTest::header()
{
    QFETCH(QByteArray, input);
    QFETCH(int, reverseX);
    QFETCH(int, refSystem);
    QFETCH(QByteArray, expected);
    QFETCH(HeaderError, error);

    for (const qsizetype size : {1, 2, 3, 64, 1 << 20}) {
        HeaderRewriter rewriter({reverseX, refSystem});
        QByteArray output;
        for (qsizetype at = 0; at < input.size(); at += size)
            rewriter.feed(QByteArrayView(input).sliced(at, std::min(size, input.size() - at)),
                          output);
        rewriter.finish(output);
        QCOMPARE(rewriter.error(), error);
        if (error == HeaderError::None)
            QCOMPARE(output, expected);
    }
}

QTEST_MAIN(DgHeaderTest)
#include "tst_dgheader.moc"
