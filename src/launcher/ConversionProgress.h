#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace kadrix {

class ConversionBatch;

// The small window that follows a run of Xfer2DG over several files: which
// file of how many is being converted, the time since the run began, and
// "Cancel", which stops after the current file. At the end it says what was
// converted, what failed and why, and which .DG files appeared. It is not
// modal: the main window stays in use throughout.
class ConversionProgress final : public QWidget {
    Q_OBJECT

public:
    ConversionProgress(ConversionBatch& batch, QWidget* mainWindow);
    Q_DISABLE_COPY_MOVE(ConversionProgress)

protected:
    // Closing while files are converted cancels the rest, as "Cancel" does.
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void showFile(int number, int count, const QString& file);
    void showElapsed();
    void cancelOrClose();
    void showReport();

    ConversionBatch& batch_;
    QLabel* lblCount_ = nullptr;
    QLabel* lblFile_ = nullptr;
    QProgressBar* prgFiles_ = nullptr;
    QLabel* lblElapsed_ = nullptr;
    QPlainTextEdit* txtReport_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QElapsedTimer elapsed_;
    QTimer clock_;
};

} // namespace kadrix
