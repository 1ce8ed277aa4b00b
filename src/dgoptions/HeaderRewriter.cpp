#include "dgoptions/HeaderRewriter.h"

#include <algorithm>

namespace kadrix {

namespace {

const QByteArrayView kLineEnd("\r\n");
const QByteArrayView kLineFeed("\n");

const char* findLineEnd(const char* at, const char* end)
{
    while (at < end && *at != '\r' && *at != '\n')
        ++at;
    return at;
}

// Whether every line end in [at, end) is a CR LF, a CR as the last byte
// aside: then the bytes can leave as they are. Checked in blocks of fixed
// length, which the compiler turns into vector instructions.
bool onlyCrLfLineEnds(const char* at, const char* end)
{
    if (at < end && *at == '\n')
        return false;
    constexpr ptrdiff_t kBlock = 64;
    for (; end - at > kBlock; at += kBlock) {
        unsigned char mismatch = 0;
        for (ptrdiff_t i = 0; i < kBlock; ++i)
            mismatch |= static_cast<unsigned char>((at[i] == '\r') ^ (at[i + 1] == '\n'));
        if (mismatch != 0)
            return false;
    }
    for (; end - at > 1; ++at) {
        if ((at[0] == '\r') != (at[1] == '\n'))
            return false;
    }
    return true;
}

// Text: no control characters but the tab.
bool isText(const char* at, const char* end)
{
    return std::none_of(at, end, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t') || byte == 0x7f;
    });
}

void addPiece(HeaderRewriter::Pieces& output, const char* from, const char* to)
{
    if (to > from)
        output.emplace_back(from, to - from);
}

void appendPieces(const HeaderRewriter::Pieces& pieces, QByteArray& output)
{
    for (const QByteArrayView piece : pieces)
        output.append(piece);
}

} // namespace

void HeaderRewriter::feed(QByteArrayView input, Pieces& output)
{
    const char* at = input.data();
    const char* const end = at + input.size();
    if (at == end)
        return;
    if (crEndedPiece_ && *at == '\n')
        ++at; // the line feed of a CR LF split between two pieces
    crEndedPiece_ = false;
    while (at < end && error_ == HeaderError::None) {
        at =
            linesEnded_ == kThirdLine ? readThirdLine(at, end, output) : copyLines(at, end, output);
    }
}

void HeaderRewriter::finish(Pieces& output)
{
    if (error_ != HeaderError::None)
        return;
    if (linesEnded_ == kThirdLine && lineOpen_)
        endThirdLine(output);
    else if (linesEnded_ <= kThirdLine)
        error_ = HeaderError::TooFewLines;
    else if (lineOpen_)
        output.push_back(kLineEnd);
    lineOpen_ = false;
}

void HeaderRewriter::feed(QByteArrayView input, QByteArray& output)
{
    Pieces pieces;
    feed(input, pieces);
    appendPieces(pieces, output);
}

void HeaderRewriter::finish(QByteArray& output)
{
    Pieces pieces;
    finish(pieces);
    appendPieces(pieces, output);
}

// Copies whole runs of lines that already end in CR LF as they are, and
// gives every other line end the CR LF. Stops where line 3 begins.
const char* HeaderRewriter::copyLines(const char* at, const char* end, Pieces& output)
{
    if (linesEnded_ > kThirdLine && onlyCrLfLineEnds(at, end))
        return passCrLfLines(at, end, output);
    const char* run = at;
    while (at < end && linesEnded_ != kThirdLine) {
        const char* lineEnd = findLineEnd(at, end);
        if (lineEnd == end) {
            lineOpen_ = true;
            at = end;
            break;
        }
        if (*lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n') {
            at = lineEnd + 2;
        } else {
            addPiece(output, run, lineEnd);
            output.push_back(kLineEnd);
            at = skipLineEnd(lineEnd, end);
            run = at;
        }
        lineOpen_ = false;
        countLine();
    }
    addPiece(output, run, at);
    return at;
}

// The fast way through the body of a file written with CR LF.
const char* HeaderRewriter::passCrLfLines(const char* at, const char* end, Pieces& output)
{
    addPiece(output, at, end);
    const char last = end[-1];
    if (last == '\r') {
        output.push_back(kLineFeed);
        crEndedPiece_ = true;
    }
    lineOpen_ = last != '\r' && last != '\n';
    return end;
}

const char* HeaderRewriter::readThirdLine(const char* at, const char* end, Pieces& output)
{
    const char* lineEnd = findLineEnd(at, end);
    if (!isText(at, lineEnd)) {
        error_ = HeaderError::NotText;
        return end;
    }
    const qsizetype room = kThirdLineWidth - thirdLine_.size();
    thirdLine_.append(at, std::min<qsizetype>(room, lineEnd - at));
    if (lineEnd == end) {
        lineOpen_ = lineOpen_ || lineEnd > at;
        return end;
    }
    endThirdLine(output);
    return skipLineEnd(lineEnd, end);
}

const char* HeaderRewriter::skipLineEnd(const char* at, const char* end)
{
    if (*at++ == '\r') {
        if (at == end)
            crEndedPiece_ = true;
        else if (*at == '\n')
            ++at;
    }
    return at;
}

void HeaderRewriter::endThirdLine(Pieces& output)
{
    const ThirdLine line = rewriteThirdLine(thirdLine_, choices_);
    error_ = line.error;
    if (error_ != HeaderError::None)
        return;
    newThirdLine_ = line.text + kLineEnd.toByteArray();
    output.push_back(newThirdLine_);
    lineOpen_ = false;
    countLine();
}

void HeaderRewriter::countLine()
{
    if (linesEnded_ <= kThirdLine)
        ++linesEnded_;
}

} // namespace kadrix
