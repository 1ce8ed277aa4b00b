// Built into every program of the sanitizer build.
//
// LeakSanitizer looks for leaks after the last exit handler has run. Qt's
// thread pools are destroyed by exit handlers of their own, and each thread
// they delete drops its last reference to its per-thread data only as it ends.
// On a loaded machine that may come after the leak check, and the data would
// be reported as leaked. This handler is registered when the program starts,
// before any pool exists, so it runs after every pool is gone: it waits for
// the other threads to end, for at most two seconds.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

long threadCount()
{
    std::error_code error;
    const std::filesystem::directory_iterator tasks("/proc/self/task", error);
    return error ? 1 : std::distance(begin(tasks), end(tasks));
}

void awaitOtherThreads()
{
    using namespace std::chrono_literals;
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (threadCount() > 1 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
}

const int registered = std::atexit(awaitOtherThreads);

} // namespace
