#include "docs/FindBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>

namespace kadrix {

FindBar::FindBar(QWidget* view)
    : QWidget(view)
    , search_(new TextSearch(this))
{
    setObjectName(QStringLiteral("findBar"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setForegroundRole(QPalette::WindowText);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    auto* label = new QLabel(QStringLiteral("Find:"), this);
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("findField"));
    field_->setAccessibleName(QStringLiteral("Find"));
    label->setBuddy(field_);
    status_ = new QLabel(this);
    layout->addWidget(label);
    layout->addWidget(field_, 1);
    layout->addWidget(status_, 1);
    hide();

    auto* open =
        new QShortcut(QKeySequence::Find, view, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(open, &QShortcut::activated, this, &FindBar::open);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr,
                                Qt::WidgetWithChildrenShortcut);
    connect(close, &QShortcut::activated, this, &FindBar::close);
    connect(search_, &TextSearch::progressed, this, [this](int percent) {
        status_->setText(QStringLiteral("Searching... %1%").arg(percent));
    });
    connect(search_, &TextSearch::found, this, [this](TextMatch match) {
        status_->clear();
        Q_EMIT found(match);
    });
    connect(search_, &TextSearch::notFound, this, [this] {
        status_->setText(QStringLiteral("Not found"));
        Q_EMIT notFound();
    });
}

FindBar::~FindBar() = default;

QString FindBar::status() const
{
    return status_->text();
}

void FindBar::open()
{
    show();
    Q_EMIT shownOrHidden();
    field_->setFocus();
    field_->selectAll();
}

void FindBar::close()
{
    stop();
    hide();
    Q_EMIT shownOrHidden();
    parentWidget()->setFocus();
}

void FindBar::start(std::shared_ptr<TextFile> file, const QString& text, qint64 from)
{
    if (text.isEmpty() || !file) {
        stop();
        return;
    }
    status_->setText(QStringLiteral("Searching..."));
    search_->start(std::move(file), text, from);
}

void FindBar::stop()
{
    search_->stop();
    status_->clear();
}

} // namespace kadrix
