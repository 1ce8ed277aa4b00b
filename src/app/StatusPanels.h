#pragma once

#include <QObject>

#include <array>

class QLabel;
class QStatusBar;
class QTimer;

namespace kadrix {
class Starter;
}

namespace kadrix {

// The main window's status bar: a fixed notice, the version, and the date
// and time, which it keeps current.
class StatusPanels final : public QObject {
    Q_OBJECT

public:
    StatusPanels(QStatusBar* statusBar, std::array<QLabel*, 4>& panels);
    Q_DISABLE_COPY_MOVE(StatusPanels)

    void showVersion(const QString& versionText);
    void showClock();
    // While a start the starter reports is under way, the first panel says
    // so; its own text comes back afterwards.
    void followStarts(Starter& starter);

private:
    void scheduleNextTick();

    std::array<QLabel*, 4>& panels_;
    QTimer* clock_ = nullptr;
    QString notice_;
};

} // namespace kadrix
