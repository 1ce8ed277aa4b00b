#pragma once

#include "platform/DirectoryEvents.h"

#include <QObject>
#include <QSet>
#include <QTimer>

namespace kadrix {

// Watches the directory the browser shows for names that other programs
// add, remove or rename. Each reading adds its directory to the watch before
// it reads the first name, so that a name made while the directory is being
// read is noticed and read next. A burst of changes (a converter writing
// thousands of files) is reported a few times a second at most, never once
// per file.
class DirectoryWatch final : public QObject {
    Q_OBJECT

public:
    explicit DirectoryWatch(QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(DirectoryWatch)

    // The instance that readings add their directory to.
    int descriptor() const { return events_.descriptor(); }
    // Watches `path`, shown from a reading that added it as `watch`, and no
    // other directory from now on; an empty path or a watch of -1 watches
    // nothing. A change noticed while that reading ran is reported.
    void watch(const QString& path, int watch);
    // Lets go of a watch added by a reading that is not shown.
    void drop(int watch);
    // Whether changes of `path` are being reported: while they are, a
    // listing of it that nothing has reported a change for is current.
    bool isWatching(const QString& path) const;
    bool hasUnreportedChange() const { return settle_.isActive(); }

Q_SIGNALS:
    void changed(const QString& path);

private:
    void noteChange(int watch);

    DirectoryEvents events_;
    QTimer settle_;
    QString path_;
    int watch_ = -1;
    // Watches of readings under way whose directory changed meanwhile.
    QSet<int> changedWhileRead_;
};

} // namespace kadrix
