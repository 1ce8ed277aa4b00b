#pragma once

#include "platform/ProgramEnd.h"

#include <QObject>
#ifdef Q_OS_WIN
#include <QWinEventNotifier>
#else
#include <QSocketNotifier>
#endif

namespace kadrix {

// Watches a program started with a watched detached start, without ever
// waiting on the user-interface thread: the report of its end turns
// readable (on Windows, its process handle signalled) when it has ended,
// and `ended` says how.
class ProgramWatch final : public QObject {
    Q_OBJECT

public:
    // Takes over `endReport` and the watching process `watcherId`.
    ProgramWatch(qintptr endReport, qint64 watcherId, QObject* parent = nullptr);
    ~ProgramWatch() override;
    Q_DISABLE_COPY_MOVE(ProgramWatch)

Q_SIGNALS:
    void ended(const kadrix::ProgramEnd& end);

private:
    void readEnd();

    qintptr endReport_;
    qint64 watcherId_;
#ifdef Q_OS_WIN
    QWinEventNotifier notifier_;
#else
    QSocketNotifier notifier_;
#endif
};

} // namespace kadrix
