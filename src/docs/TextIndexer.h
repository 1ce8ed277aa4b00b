#pragma once

#include "docs/TextPieces.h"

#include <QObject>

#include <memory>
#include <thread>

namespace kadrix {

class LineIndex;
class TextFile;

// Builds the line index of a text file: the first piece at once, so that the
// first screen can be shown straight away, the rest on a worker thread in
// pieces, telling the user-interface thread after each. On the way it checks
// that the text is UTF-8, and switches the file to the Windows code page at
// the first byte sequence that is not.
class TextIndexer final : public QObject {
    Q_OBJECT

public:
    explicit TextIndexer(QObject* parent = nullptr);
    ~TextIndexer() override;
    Q_DISABLE_COPY_MOVE(TextIndexer)

    // Starts on `file`; an index still being built for another file is dropped.
    void start(std::shared_ptr<TextFile> file, const TextPieces& pieces = {});
    // Stops the worker and drops the index.
    void stop();
    const std::shared_ptr<LineIndex>& index() const { return index_; }
    // The window has been told that the index holds every line of the file.
    bool isComplete() const { return complete_; }

Q_SIGNALS:
    // More lines are known; `complete` once all of them are.
    void grown(bool complete);
    void encodingChanged();

private:
    void report(unsigned generation, bool complete, bool legacy);

    std::shared_ptr<LineIndex> index_;
    std::jthread worker_;
    unsigned generation_ = 0;
    bool complete_ = false;
    bool legacy_ = false;
};

} // namespace kadrix
