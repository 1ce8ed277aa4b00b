#include "platform/DirectoryEvents.h"

#include "platform/win/DirectoryWatches.h"
#include "platform/win/FoundEntries.h"

#include <QWinEventNotifier>

#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <windows.h>

namespace kadrix {

// Entries that come, go, are renamed or change their attributes (hidden or
// not): what a change notification handle can tell.
const unsigned DirectoryEvents::kMask =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES;

namespace {

struct Watch {
    HANDLE change = INVALID_HANDLE_VALUE;
    QWinEventNotifier* notifier = nullptr;
};

// The watches of one DirectoryEvents. Readings add to them from their own
// threads; the notifiers live on the thread of the DirectoryEvents.
struct Watches {
    std::mutex lock;
    DirectoryEvents* events = nullptr; // null once it is gone
    std::map<int, Watch> watches;
    int lastWatch = -1;
};

// Never destroyed: a reading may still look for its watches as the program
// ends.
struct Register {
    std::mutex lock;
    std::map<int, std::shared_ptr<Watches>> instances;
    int lastInstance = -1;
};

Register& instances()
{
    static auto* instances = new Register;
    return *instances;
}

std::shared_ptr<Watches> watchesOf(int instance)
{
    Register& all = instances();
    const std::lock_guard guard(all.lock);
    const auto found = all.instances.find(instance);
    return found == all.instances.end() ? nullptr : found->second;
}

// Whatever still waits on the handle has stopped before it is closed, on a
// thread of its own: closing a handle on a share that has stopped answering
// may wait for it.
void closeWatch(Watch& watch)
{
    if (watch.notifier) {
        watch.notifier->setEnabled(false);
        watch.notifier->deleteLater();
    }
    std::thread([change = watch.change] { FindCloseChangeNotification(change); }).detach();
}

// On the thread of the DirectoryEvents. A change made before the notifier
// is there has signalled the handle already, and is reported at once.
void reportChanges(const std::shared_ptr<Watches>& watches, int number)
{
    const std::lock_guard guard(watches->lock);
    const auto found = watches->watches.find(number);
    DirectoryEvents* events = watches->events;
    if (!events || found == watches->watches.end())
        return;
    auto* notifier = new QWinEventNotifier(found->second.change, events);
    found->second.notifier = notifier;
    QObject::connect(notifier, &QWinEventNotifier::activated, events,
                     [events, notifier, number](HANDLE change) {
                         // Armed again first, so that no later change goes unnoticed;
                         // one that cannot be is the directory going.
                         if (!FindNextChangeNotification(change))
                             notifier->setEnabled(false);
                         Q_EMIT events->changed(number);
                     });
}

} // namespace

int addDirectoryWatch(int events, const QString& path, unsigned filter)
{
    const std::shared_ptr<Watches> watches = watchesOf(events);
    if (!watches || path.isEmpty())
        return -1;
    const HANDLE change = FindFirstChangeNotificationW(windowsPath(path).c_str(), FALSE, filter);
    if (change == INVALID_HANDLE_VALUE)
        return -1;
    const std::lock_guard guard(watches->lock);
    if (!watches->events) {
        FindCloseChangeNotification(change);
        return -1;
    }
    const int number = ++watches->lastWatch;
    watches->watches[number] = {change, nullptr};
    QMetaObject::invokeMethod(
        watches->events, [watches, number] { reportChanges(watches, number); },
        Qt::QueuedConnection);
    return number;
}

DirectoryEvents::DirectoryEvents(QObject* parent)
    : QObject(parent)
{
    auto watches = std::make_shared<Watches>();
    watches->events = this;
    Register& all = instances();
    const std::lock_guard guard(all.lock);
    fd_ = ++all.lastInstance;
    all.instances[fd_] = std::move(watches);
}

DirectoryEvents::~DirectoryEvents()
{
    const std::shared_ptr<Watches> watches = watchesOf(fd_);
    {
        Register& all = instances();
        const std::lock_guard guard(all.lock);
        all.instances.erase(fd_);
    }
    const std::lock_guard guard(watches->lock);
    watches->events = nullptr;
    for (auto& [number, watch] : watches->watches)
        closeWatch(watch);
    watches->watches.clear();
}

void DirectoryEvents::remove(int watch)
{
    const std::shared_ptr<Watches> watches = watchesOf(fd_);
    const std::lock_guard guard(watches->lock);
    const auto found = watches->watches.find(watch);
    if (found == watches->watches.end())
        return;
    closeWatch(found->second);
    watches->watches.erase(found);
}

} // namespace kadrix
