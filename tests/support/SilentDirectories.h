#pragma once

#include <memory>

namespace kadrix {
class DirectoryReader;
}

namespace kadrix::test {

// Holds every reading of a directory named "silent" at its first name, as a
// share that has stopped answering holds it, until release() or the end of
// this object.
class SilentDirectories {
public:
    explicit SilentDirectories(DirectoryReader& reader);
    ~SilentDirectories();
    SilentDirectories(const SilentDirectories&) = delete;
    SilentDirectories& operator=(const SilentDirectories&) = delete;
    void release();

private:
    struct Gate;
    std::shared_ptr<Gate> gate_;
};

} // namespace kadrix::test
