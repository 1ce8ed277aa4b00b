#pragma once

#include "core/AppState.h"

#include <QObject>
#include <QStringList>

namespace kadrix {

struct Host;
struct ProgramEnd;

// What a run over several files came to, each file named as listed.
struct ConversionReport {
    QStringList converted;
    QStringList failed;       // "name: exit status 3", "name: not started"
    QStringList notConverted; // left when the user cancelled or a start could not be made
    QStringList newDgFiles;   // .DG files of the directory that were not there before
    QString listingProblem;   // why the directory's .DG files could not be compared
};

// Converts several files of the data directory with Xfer2DG, one after
// another. Each start is the one "Run &Xfer2DG" makes for that file alone:
// the data directory saved in the settings, then RunProgram's start of the
// converter on the file. The next file starts when the converter of the
// previous one has ended, which the Starter watches; nothing waits.
class ConversionBatch final : public QObject {
    Q_OBJECT

public:
    // `state` is copied: the run keeps its directory and program while the
    // user goes on browsing. ProgName and ProgPath name the converter.
    ConversionBatch(Host& host, const AppState& state, QStringList files,
                    QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(ConversionBatch)

    // Notes the directory's .DG files, then starts the first conversion.
    void start();
    // Stops after the file being converted.
    void cancel();
    bool isRunning() const { return phase_ != Phase::Idle && phase_ != Phase::Done; }
    const ConversionReport& report() const { return report_; }

Q_SIGNALS:
    // The number-th file of `count` is being converted.
    void fileStarted(int number, int count, const QString& file);
    // A start was asked for: the data-file list is read again, as after
    // "Run &Xfer2DG".
    void startRequested();
    void finished();

private:
    void startNext();
    void programEnded(qint64 start, const ProgramEnd& end);
    void stopWithRest();
    void compareDgFiles(const QStringList& names, const QString& problem);

    enum class Phase { Idle, NotingDgFiles, Converting, ComparingDgFiles, Done };

    Host& host_;
    AppState state_;
    QStringList files_;
    qsizetype next_ = 0;
    qint64 watched_ = 0;
    Phase phase_ = Phase::Idle;
    bool cancelled_ = false;
    QStringList dgBefore_;
    ConversionReport report_;
};

} // namespace kadrix
