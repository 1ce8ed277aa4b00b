#pragma once

#include <QObject>
#include <QSet>

class QSocketNotifier;

namespace kadrix {

// The system's notices of changes to watched directories (inotify). A
// directory is added by whoever reads it, from the path's very bytes (a
// name that is no UTF-8 is watched as itself, never as a lookalike), and
// before its first name is read; changes are reported by the watch they
// belong to.
class DirectoryEvents final : public QObject {
    Q_OBJECT

public:
    // What a watch is told of: names that come, go or are renamed, changes
    // of the directory's own permissions, and the directory going.
    static const unsigned kMask;

    explicit DirectoryEvents(QObject* parent = nullptr);
    ~DirectoryEvents() override;
    Q_DISABLE_COPY_MOVE(DirectoryEvents)

    // The instance that watches are added to; -1 when there is none.
    int descriptor() const { return fd_; }
    void remove(int watch);

Q_SIGNALS:
    // Something changed in the directory of `watch`; -1 when notices were
    // lost and any directory may have changed.
    void changed(int watch);

private:
    void readNotices();

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    // Watches removed here, whose last notice tells only that.
    QSet<int> removed_;
};

} // namespace kadrix
