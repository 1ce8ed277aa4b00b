#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QPlainTextEdit;

namespace kadrix {

// Puts a text into a plain-text box a slice at a time: the first slice at
// once, the others from the event loop, so that the window keeps answering
// while a file of many megabytes goes in. Slices end at a line end where
// one is near.
class TextFeeder final : public QObject {
    Q_OBJECT

public:
    static constexpr qsizetype kSliceSize = 256 * 1024;

    explicit TextFeeder(QPlainTextEdit& box, qsizetype sliceSize = kSliceSize,
                        QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TextFeeder)

    // Makes `text` the whole text of the box; a feed still running stops.
    void setText(QString text);

    // The whole text the box shows, or will once the feed has ended.
    const QString& text() const { return text_; }
    bool isFeeding() const { return fed_ < text_.size(); }

Q_SIGNALS:
    void finished();

private:
    void feedNextSlice();
    qsizetype sliceEnd(qsizetype from) const;

    QPlainTextEdit& box_;
    qsizetype sliceSize_;
    QString text_;
    qsizetype fed_ = 0;
    QTimer timer_;
};

} // namespace kadrix
