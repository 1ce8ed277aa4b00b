#pragma once

#include <QComboBox>
#include <QHash>

#include <functional>

namespace kadrix {

// One entry of the drive list: the drive's root and the text shown for it.
struct Drive {
    QString root;
    QString label;
};
using DriveSource = std::function<QList<Drive>()>;

// The drive list: one entry per mounted file system. Each drive keeps its
// own current directory, as drives did on the classic platform: the
// directory last opened on it, or its root.
class DriveList final : public QComboBox {
    Q_OBJECT

public:
    explicit DriveList(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(DriveList)

    // The root of the selected drive.
    QString drive() const;
    QStringList drives() const;
    // Selects the drive that holds `path`; emits `changed` when that is
    // another drive than the selected one.
    bool setDrive(const QString& path);
    // Selects the drive that holds `path` without emitting `changed`.
    void showDriveOf(const QString& path);
    void refresh();
    // Takes the drives from `source` instead of the mounted file systems,
    // and re-reads the list.
    void setSource(DriveSource source);

    void rememberDirectory(const QString& directory);
    QString currentDirectoryOf(const QString& drive) const;

Q_SIGNALS:
    void changed();

private:
    QStringList itemLabels() const;
    int indexOfDriveHolding(const QString& path) const;
    void selectIndex(int index);
    void userSelected(int index);

    DriveSource source_;
    QHash<QString, QString> lastDirectory_;
    int shownIndex_ = -1;
};

} // namespace kadrix
