#include "platform/DirectoryEvents.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>

namespace kadrix {

const unsigned DirectoryEvents::kMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                        IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

DirectoryEvents::DirectoryEvents(QObject* parent)
    : QObject(parent)
    , fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    if (fd_ < 0)
        return;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &DirectoryEvents::readNotices);
}

DirectoryEvents::~DirectoryEvents()
{
    delete notifier_;
    if (fd_ >= 0)
        ::close(fd_);
}

void DirectoryEvents::remove(int watch)
{
    if (fd_ >= 0 && watch >= 0 && ::inotify_rm_watch(fd_, watch) == 0)
        removed_.insert(watch);
}

void DirectoryEvents::readNotices()
{
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t count = ::read(fd_, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return;
        for (ssize_t at = 0; at < count;) {
            inotify_event event{};
            std::memcpy(&event, buffer + at, sizeof event);
            at += static_cast<ssize_t>(sizeof event + event.len);
            if ((event.mask & IN_IGNORED) && removed_.remove(event.wd))
                continue;
            Q_EMIT changed((event.mask & IN_Q_OVERFLOW) ? -1 : event.wd);
        }
    }
}

} // namespace kadrix
