#pragma once

#include "docs/ViewerText.h"

#include <QObject>

#include <memory>
#include <thread>

namespace kadrix {

// Where a search found its text: bytes [from, to) of the file.
struct TextMatch {
    qint64 from = -1;
    qint64 to = -1;
};

// Looks for a text in a file on a worker thread, ignoring case: from a place
// to the end, then from the start back round to that place. The file is
// decoded and searched a piece at a time, each piece reaching back over the
// end of the one before by as many bytes as a match can take, so that a
// match across two pieces is found. A new search drops the one still running.
class TextSearch final : public QObject {
    Q_OBJECT

public:
    static constexpr qint64 kPiece = 4 * 1024 * 1024;

    explicit TextSearch(QObject* parent = nullptr);
    ~TextSearch() override;
    Q_DISABLE_COPY_MOVE(TextSearch)

    void setPieceSize(qint64 size) { pieceSize_ = size; }
    // Looks for `needle` from byte `from` on, which starts a character.
    void start(std::shared_ptr<TextFile> file, const QString& needle, qint64 from);
    void stop();
    bool isRunning() const { return running_; }

Q_SIGNALS:
    void found(kadrix::TextMatch match);
    void notFound();
    // How much of the text has been searched, in percent.
    void progressed(int percent);

private:
    void report(unsigned generation, TextMatch match);
    void progress(unsigned generation, int percent);

    std::jthread worker_;
    qint64 pieceSize_ = kPiece;
    unsigned generation_ = 0;
    bool running_ = false;
};

} // namespace kadrix
