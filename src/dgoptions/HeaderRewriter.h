#pragma once

#include "dgoptions/HeaderFields.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace kadrix {

// Rewrites a .DG file as its bytes stream through, in pieces of any size:
// lines 1 and 2 and every line after the third are copied, line 3 is
// rewritten field by field. A line ends at a carriage return, a carriage
// return and line feed, or a lone line feed; every line leaves with a
// carriage return and line feed, a last line without line end included.
// Only the first 65 columns of line 3 are held, so memory stays small
// whatever the length of the file or of its lines; runs of lines that
// already end in CR LF leave as views of the input, without a copy.
class HeaderRewriter {
public:
    // The output, in pieces: views of the input just fed or of the
    // rewriter's own bytes, valid until the next call.
    using Pieces = std::vector<QByteArrayView>;

    explicit HeaderRewriter(HeaderChoices choices)
        : choices_(choices)
    {}

    // Takes the next bytes of the file and adds the pieces they become.
    void feed(QByteArrayView input, Pieces& output);
    // The file has ended.
    void finish(Pieces& output);

    // The same, appending the output's bytes.
    void feed(QByteArrayView input, QByteArray& output);
    void finish(QByteArray& output);

    // The first reason the header cannot be rewritten; once set, nothing
    // more is written.
    HeaderError error() const { return error_; }

private:
    static constexpr int kThirdLine = 2; // lines are counted from 0

    const char* copyLines(const char* at, const char* end, Pieces& output);
    const char* passCrLfLines(const char* at, const char* end, Pieces& output);
    const char* readThirdLine(const char* at, const char* end, Pieces& output);
    const char* skipLineEnd(const char* at, const char* end);
    void endThirdLine(Pieces& output);
    void countLine();

    HeaderChoices choices_;
    HeaderError error_ = HeaderError::None;
    int linesEnded_ = 0;        // counted up to the end of line 3, then kept
    bool lineOpen_ = false;     // a line has begun and not ended
    bool crEndedPiece_ = false; // the last piece ended in a line-ending CR
    QByteArray thirdLine_;      // the first 65 columns of line 3
    QByteArray newThirdLine_;   // line 3 as written, with its line end
};

} // namespace kadrix
