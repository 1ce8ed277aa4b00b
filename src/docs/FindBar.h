#pragma once

#include "docs/TextSearch.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;

namespace kadrix {

// The viewer's find bar: "Find:", the text to look for and how the search
// goes. Ctrl+F on the view opens it, Esc closes it and stops the search.
// It runs the search on the worker and says how far it has come.
class FindBar final : public QWidget {
    Q_OBJECT

public:
    // The bar sits at the bottom of `view`, whose keys open it.
    explicit FindBar(QWidget* view);
    ~FindBar() override;
    Q_DISABLE_COPY_MOVE(FindBar)

    QLineEdit* field() const { return field_; }
    QString status() const;
    // Looks for `text` from byte `from` of `file`; an empty text stops.
    void start(std::shared_ptr<TextFile> file, const QString& text, qint64 from);
    void stop();
    bool isSearching() const { return search_->isRunning(); }
    void setPieceSize(qint64 size) { search_->setPieceSize(size); }

Q_SIGNALS:
    void shownOrHidden();
    void found(kadrix::TextMatch match);
    void notFound();

private:
    void open();
    void close();

    QLineEdit* field_ = nullptr;
    QLabel* status_ = nullptr;
    TextSearch* search_ = nullptr;
};

} // namespace kadrix
