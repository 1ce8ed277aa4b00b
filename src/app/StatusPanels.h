#pragma once

#include <QObject>

#include <array>

class QLabel;
class QStatusBar;
class QTimer;

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

private:
    void scheduleNextTick();

    std::array<QLabel*, 4>& panels_;
    QTimer* clock_ = nullptr;
};

} // namespace kadrix
