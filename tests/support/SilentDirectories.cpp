#include "SilentDirectories.h"

#include "browser/DirectoryReader.h"

#include <condition_variable>
#include <mutex>

namespace kadrix::test {

struct SilentDirectories::Gate {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
};

SilentDirectories::SilentDirectories(DirectoryReader& reader)
    : gate_(std::make_shared<Gate>())
{
    reader.setEntryHook([gate = gate_](const QString& path, std::string_view name) {
        std::unique_lock lock(gate->mutex);
        if (path.endsWith(QLatin1String("/silent")) && !name.empty())
            gate->opened.wait(lock, [&] { return gate->open; });
    });
}

SilentDirectories::~SilentDirectories()
{
    release();
}

void SilentDirectories::release()
{
    {
        const std::lock_guard lock(gate_->mutex);
        gate_->open = true;
    }
    gate_->opened.notify_all();
}

} // namespace kadrix::test
