#include "platform/DirectoryEvents.h"

#include "platform/win/DirectoryWatches.h"
#include "platform/win/FoundEntries.h"

#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <windows.h>

namespace kadrix {

// Entries that come, go, are renamed or change their attributes (hidden or
// not): what a change notification handle can tell.
const unsigned DirectoryEvents::kMask =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES;

namespace {

// A watch is a thread of its own that waits on the change handle and arms
// it again: Windows cancels a thread's requests when it ends, which would
// signal a change that never was, so the handle is made, armed and closed
// on that one thread, which lives as long as the watch. Being apart, it
// also keeps a share that has stopped answering from holding any other.
struct Watch {
    std::shared_ptr<void> stop; // an event, set when the watch goes
};

// The watches of one DirectoryEvents. Readings add to them from their own
// threads; changes are reported on the thread of the DirectoryEvents.
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

void report(const std::shared_ptr<Watches>& watches, int number)
{
    const std::lock_guard guard(watches->lock);
    if (DirectoryEvents* events = watches->events; events && watches->watches.count(number)) {
        QMetaObject::invokeMethod(
            events, [events, number] { Q_EMIT events->changed(number); }, Qt::QueuedConnection);
    }
}

// Until the watch goes or its directory does (the handle cannot be armed
// again), each change is reported once the handle is armed again, so that
// no later change goes unnoticed.
void waitForChanges(const std::shared_ptr<Watches>& watches, int number, HANDLE change, HANDLE stop)
{
    const HANDLE both[2] = {stop, change};
    while (WaitForMultipleObjects(2, both, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        const bool armed = FindNextChangeNotification(change);
        report(watches, number);
        if (!armed)
            return;
    }
}

// The watch's thread: its handle made and armed, `armed` told whether it
// could be, then the changes waited for until `stop` is set.
void runWatch(std::shared_ptr<Watches> watches, int number, std::wstring path, unsigned filter,
              std::shared_ptr<void> stop, std::promise<bool> armed)
{
    const HANDLE change = FindFirstChangeNotificationW(path.c_str(), FALSE, filter);
    armed.set_value(change != INVALID_HANDLE_VALUE);
    if (change != INVALID_HANDLE_VALUE) {
        waitForChanges(watches, number, change, stop.get());
        FindCloseChangeNotification(change);
    }
}

} // namespace

int addDirectoryWatch(int events, const QString& path, unsigned filter)
{
    const std::shared_ptr<Watches> watches = watchesOf(events);
    const HANDLE event = path.isEmpty() ? nullptr : CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!event)
        return -1;
    const std::shared_ptr<void> stop(event, CloseHandle);
    int number = -1;
    {
        if (!watches)
            return -1;
        const std::lock_guard guard(watches->lock);
        if (!watches->events)
            return -1;
        number = ++watches->lastWatch;
        watches->watches[number] = {stop};
    }
    std::promise<bool> armed;
    std::future<bool> made = armed.get_future();
    std::thread(runWatch, watches, number, windowsPath(path), filter, stop, std::move(armed))
        .detach();
    if (made.get())
        return number;
    const std::lock_guard guard(watches->lock);
    watches->watches.erase(number);
    return -1;
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
        SetEvent(watch.stop.get());
    watches->watches.clear();
}

void DirectoryEvents::remove(int watch)
{
    const std::shared_ptr<Watches> watches = watchesOf(fd_);
    const std::lock_guard guard(watches->lock);
    const auto found = watches->watches.find(watch);
    if (found == watches->watches.end())
        return;
    SetEvent(found->second.stop.get());
    watches->watches.erase(found);
}

} // namespace kadrix
