#pragma once

#include "platform/ProgramEnd.h"

#include <QObject>
#include <QSocketNotifier>

namespace kadrix {

// Watches a program started with a watched detached start, without ever
// waiting on the user-interface thread: the report of its end turns
// readable when it has ended, and `ended` says how.
class ProgramWatch final : public QObject {
    Q_OBJECT

public:
    // Takes over `endReport` and the watching process `watcherId`.
    ProgramWatch(int endReport, qint64 watcherId, QObject* parent = nullptr);
    ~ProgramWatch() override;
    Q_DISABLE_COPY_MOVE(ProgramWatch)

Q_SIGNALS:
    void ended(const kadrix::ProgramEnd& end);

private:
    void readEnd();

    int endReport_;
    qint64 watcherId_;
    QSocketNotifier notifier_;
};

} // namespace kadrix
