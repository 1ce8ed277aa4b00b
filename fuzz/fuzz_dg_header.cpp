// Fuzzes the .DG header reader and writer: whatever the bytes and however
// they are cut into pieces, the rewrite never crashes, gives the same
// result, and keeps every line but the third, which it writes 65 columns
// wide; every line leaves with CR LF.

#include "dgoptions/HeaderRewriter.h"

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>

using namespace kadrix;

namespace {

struct Rewritten {
    QByteArray output;
    HeaderError error = HeaderError::None;
};

Rewritten rewrite(QByteArrayView file, HeaderChoices choices, qsizetype pieceSize)
{
    HeaderRewriter rewriter(choices);
    Rewritten result;
    for (qsizetype at = 0; at < file.size(); at += pieceSize)
        rewriter.feed(file.sliced(at, std::min(pieceSize, file.size() - at)), result.output);
    rewriter.finish(result.output);
    result.error = rewriter.error();
    return result;
}

// The lines as a reader of any system sees them: a line ends at CR, CR LF
// or LF; a last line without line end counts when it holds anything.
QList<QByteArray> linesOf(QByteArrayView file)
{
    QList<QByteArray> lines;
    QByteArray line;
    for (qsizetype at = 0; at < file.size(); ++at) {
        const char c = file[at];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && at + 1 < file.size() && file[at + 1] == '\n')
            ++at;
        lines.append(line);
        line.clear();
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void checkLines(QByteArrayView file, const QByteArray& output)
{
    const QList<QByteArray> in = linesOf(file);
    require(output.endsWith("\r\n"));
    QList<QByteArray> out = output.split('\n');
    out.removeLast(); // after the last line end
    require(in.size() == out.size());
    for (qsizetype i = 0; i < out.size(); ++i) {
        require(out[i].endsWith('\r'));
        out[i].chop(1);
        require(!out[i].contains('\r'));
        if (i == 2)
            require(out[i].size() == kThirdLineWidth);
        else
            require(out[i] == in[i]);
    }
}

} // namespace

// The first bytes choose the X reversal, the reference system and the
// size of the pieces; the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const HeaderChoices choices{data[0] % 3, data[1] % 10};
    const qsizetype pieceSize = 1 + data[2] % 97;
    const QByteArrayView file(reinterpret_cast<const char*>(data) + 3, qsizetype(size - 3));

    const Rewritten whole = rewrite(file, choices, std::max<qsizetype>(1, file.size()));
    const Rewritten pieces = rewrite(file, choices, pieceSize);
    require(whole.error == pieces.error);
    require(whole.error != HeaderError::None || whole.output == pieces.output);
    const qsizetype lines = linesOf(file).size();
    require((whole.error == HeaderError::TooFewLines) == (lines < 3));
    if (whole.error == HeaderError::None)
        checkLines(file, whole.output);
    return 0;
}
