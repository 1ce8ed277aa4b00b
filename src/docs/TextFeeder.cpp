#include "docs/TextFeeder.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace kadrix {

TextFeeder::TextFeeder(QPlainTextEdit& box, qsizetype sliceSize, QObject* parent)
    : QObject(parent)
    , box_(box)
    , sliceSize_(qMax<qsizetype>(sliceSize, 2))
{
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &TextFeeder::feedNextSlice);
}

void TextFeeder::setText(QString text)
{
    timer_.stop();
    text_ = std::move(text);
    fed_ = sliceEnd(0);
    box_.setPlainText(text_.left(fed_));
    if (isFeeding())
        timer_.start();
    else
        Q_EMIT finished();
}

void TextFeeder::feedNextSlice()
{
    const qsizetype end = sliceEnd(fed_);
    QTextCursor cursor(box_.document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text_.mid(fed_, end - fed_));
    fed_ = end;
    if (!isFeeding()) {
        timer_.stop();
        Q_EMIT finished();
    }
}

qsizetype TextFeeder::sliceEnd(qsizetype from) const
{
    const qsizetype limit = from + sliceSize_;
    if (limit >= text_.size())
        return text_.size();
    const qsizetype lineEnd = text_.lastIndexOf(QLatin1Char('\n'), limit - 1);
    if (lineEnd >= from + sliceSize_ / 2)
        return lineEnd + 1;
    // A long line is cut, but never between the two halves of a character.
    return text_.at(limit - 1).isHighSurrogate() ? limit - 1 : limit;
}

} // namespace kadrix
