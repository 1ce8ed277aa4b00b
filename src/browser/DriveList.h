#pragma once

#include "browser/DriveSurvey.h"

#include <QComboBox>
#include <QFutureWatcher>

#include <functional>

namespace kadrix {

// Finds the drives; called away from the user interface.
using DriveSource = std::function<QList<Drive>()>;

// The drive list: one entry per mounted file system. Each drive keeps its
// own current directory, as drives did on the classic platform: the
// directory last opened on it, or its root. The mounted file systems are
// surveyed on a worker: a network share whose server no longer answers is
// listed as not answering, and never holds the window.
class DriveList final : public QComboBox {
    Q_OBJECT

public:
    explicit DriveList(QWidget* parent = nullptr);
    ~DriveList() override;
    Q_DISABLE_COPY_MOVE(DriveList)

    // The root of the selected drive.
    QString drive() const;
    QStringList drives() const;
    // Why the drive `root` cannot be used, as it was when the drives were
    // last surveyed: it did not answer, or answered with a failure; empty
    // when it can.
    QString problemOf(const QString& root) const;
    // The same for the drive that holds `path`; nothing is asked of the disk.
    QString problemOfDriveHolding(const QString& path) const;
    // Selects the drive that holds `path`; emits `changed` when that is
    // another drive than the selected one.
    bool setDrive(const QString& path);
    // Selects the drive that holds `path` without emitting `changed`.
    void showDriveOf(const QString& path);
    // Surveys the drives again; the list follows when the survey is done.
    void refresh();
    bool isSurveying() const { return surveying_; }
    // Takes the drives from `source` instead of the mounted file systems,
    // and surveys them.
    void setSource(DriveSource source);

    void rememberDirectory(const QString& directory);
    QString currentDirectoryOf(const QString& drive) const;

Q_SIGNALS:
    void changed();
    void surveyed();

private:
    void startSurvey();
    void showDrives(const QList<Drive>& drives);
    QStringList itemLabels() const;
    int indexOfDriveHolding(const QString& path) const;
    void selectIndex(int index);
    void userSelected(int index);

    std::shared_ptr<VolumeProbes> probes_;
    DriveSource source_;
    QFutureWatcher<QList<Drive>> survey_;
    bool surveying_ = false;
    bool surveyAgain_ = false;
    // The directories opened, the last one last; a drive's own directory is
    // the last of them that lies on it.
    QStringList openedDirectories_;
    // The path the list was last asked to show the drive of: a survey that
    // brings its drive selects it.
    QString shownPath_;
    int shownIndex_ = -1;
};

} // namespace kadrix
