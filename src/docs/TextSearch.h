#pragma once

#include "docs/ViewerText.h"

#include <QObject>

#include <memory>
#include <thread>

namespace kadrix {

// Where a search found its text: the line, and the characters in it.
struct TextMatch {
    qint64 line = -1;
    qsizetype column = 0;
    qsizetype length = 0;
};

// Looks for a text in a file on a worker thread, ignoring case: from a place
// to the end, then from the start back round to that place. A new search
// drops the one still running.
class TextSearch final : public QObject {
    Q_OBJECT

public:
    explicit TextSearch(QObject* parent = nullptr);
    ~TextSearch() override;
    Q_DISABLE_COPY_MOVE(TextSearch)

    // Looks for `needle` from character `column` of line `line`, which
    // takes bytes [lineStart, lineEnd).
    void start(std::shared_ptr<TextFile> file, const QString& needle, qint64 line, qint64 lineStart,
               qint64 lineEnd, qsizetype column);
    void stop();
    bool isRunning() const { return running_; }

Q_SIGNALS:
    void found(kadrix::TextMatch match);
    void notFound();

private:
    void report(unsigned generation, TextMatch match);

    std::jthread worker_;
    unsigned generation_ = 0;
    bool running_ = false;
};

} // namespace kadrix
