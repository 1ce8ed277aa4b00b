#include "app/StatusPanels.h"

#include "platform/Starter.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTimer>

namespace kadrix {

namespace {

QLabel* panel(QStatusBar* bar, const char* name, const QString& text, const QString& toolTip)
{
    auto* label = new QLabel(text, bar);
    label->setObjectName(QString::fromLatin1(name));
    label->setToolTip(toolTip);
    label->setContentsMargins(4, 0, 4, 0);
    return label;
}

} // namespace

StatusPanels::StatusPanels(QStatusBar* statusBar, std::array<QLabel*, 4>& panels)
    : QObject(statusBar)
    , panels_(panels)
    , clock_(new QTimer(this))
{
    panels_[0] = panel(statusBar, "sbrNotice", QStringLiteral("Movarta motion analysis suite"),
                       QStringLiteral("Kinematics and ground reactions from film and video"));
    panels_[1] = panel(statusBar, "sbrVersion", QStringLiteral("Version"),
                       QStringLiteral("Program version number"));
    panels_[2] = panel(statusBar, "sbrDate", {}, QStringLiteral("Current date"));
    panels_[3] = panel(statusBar, "sbrTime", {}, QStringLiteral("Current time"));
    statusBar->addWidget(panels_[0], 1);
    for (size_t i = 1; i < panels_.size(); ++i)
        statusBar->addPermanentWidget(panels_.at(i));
    clock_->setSingleShot(true);
    clock_->setTimerType(Qt::CoarseTimer);
    connect(clock_, &QTimer::timeout, this, &StatusPanels::showClock);
    showClock();
}

void StatusPanels::showVersion(const QString& versionText)
{
    panels_[1]->setText(QStringLiteral("Version ") + versionText);
}

void StatusPanels::followStarts(Starter& starter)
{
    connect(&starter, &Starter::progressChanged, this, [this](const QString& text) {
        if (notice_.isNull())
            notice_ = panels_[0]->text();
        panels_[0]->setText(text.isEmpty() ? notice_ : text);
        if (text.isEmpty())
            notice_ = QString();
    });
}

void StatusPanels::showClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    panels_[2]->setText(locale.toString(now.date(), QLocale::ShortFormat));
    panels_[3]->setText(locale.toString(now.time(), QLocale::ShortFormat));
    scheduleNextTick();
}

void StatusPanels::scheduleNextTick()
{
    // Wake when the shown time turns: each second when the locale's time
    // shows seconds, else just after each minute.
    const QTime now = QTime::currentTime();
    const bool showsSeconds = QLocale().timeFormat(QLocale::ShortFormat).contains(QLatin1Char('s'));
    const int toNextSecond = 1000 - now.msec() + 20;
    clock_->start(showsSeconds ? toNextSecond : toNextSecond + (59 - now.second()) * 1000);
}

} // namespace kadrix
