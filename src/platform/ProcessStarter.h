#pragma once

#include "platform/HostPrograms.h"
#include "platform/QtSettingsStore.h"
#include "platform/Starter.h"

#include <QStringList>
#include <QThreadPool>

#include <atomic>
#include <optional>

namespace kadrix {

class Messages;
class SettingsStore;
struct WineStartOutcome;

// Starts programs as detached processes with QProcess, never waiting for
// them. A start that cannot be made is reported in a message box. A start
// through Wine goes on in the background: the shared settings are mirrored
// into Wine's registry first, the status bar says it is under way, and an
// early failure is reported when Wine has ended.
class ProcessStarter final : public Starter {
    Q_OBJECT

public:
    explicit ProcessStarter(Messages& messages, HostPrograms hostPrograms = HostPrograms());
    ~ProcessStarter() override;

    double start(const StartRequest& request) override;
    qint64 startWatched(const StartRequest& request) override;
    // Where the settings mirrored for Windows programs are read: by default
    // the front-end's own store.
    void readSettingsFrom(SettingsStore& settings) { settings_ = &settings; }

private:
    std::optional<ProgramToStart> startable(const StartRequest& request);
    double startThroughWine(const StartRequest& request, const ProgramToStart& target,
                            qint64 watched = 0);
    void wineStartEnded(const StartRequest& request, const QString& name,
                        const WineStartOutcome& outcome);
    void reportFailure(const StartRequest& request, const QString& reason);

    Messages& messages_;
    HostPrograms hostPrograms_;
    QtSettingsStore ownSettings_;
    SettingsStore* settings_ = &ownSettings_;
    QStringList underWay_; // the programs being started through Wine
    double nextStartNumber_ = 1;
    qint64 nextWatchedStart_ = 1;
    std::atomic<bool> closing_{false};
    QThreadPool workers_;
};

} // namespace kadrix
