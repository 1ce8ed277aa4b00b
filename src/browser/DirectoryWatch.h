#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

namespace kadrix {

// Watches the directory the browser shows for names that other programs
// add, remove or rename. A burst of changes (a converter writing thousands
// of files) is reported a few times a second at most, never once per file.
class DirectoryWatch final : public QObject {
    Q_OBJECT

public:
    explicit DirectoryWatch(QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(DirectoryWatch)

    // Watches `path` alone from now on; an empty path watches nothing.
    void watch(const QString& path);
    // Whether changes of `path` are being reported: while they are, a
    // listing of it that nothing has reported a change for is current.
    bool isWatching(const QString& path) const;
    bool hasUnreportedChange() const { return settle_.isActive(); }

Q_SIGNALS:
    void changed(const QString& path);

private:
    void noteChange(const QString& path);

    QFileSystemWatcher watcher_;
    QTimer settle_;
    QString path_;
};

} // namespace kadrix
