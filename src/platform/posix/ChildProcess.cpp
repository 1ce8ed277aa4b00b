#include "platform/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kadrix {

void closeAllBut(int first, int second)
{
    const int low = std::min(first, second);
    const int high = std::max(first, second);
    unsigned from = 3;
    for (const int kept : {low, high}) {
        if (kept < static_cast<int>(from))
            continue;
        if (static_cast<unsigned>(kept) > from)
            ::close_range(from, static_cast<unsigned>(kept) - 1, 0);
        from = static_cast<unsigned>(kept) + 1;
    }
    ::close_range(from, ~0U, 0);
}

ChildQuestion::ChildQuestion(const std::function<void(int answerFd)>& work, int kept)
{
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return;
    child_ = ::fork();
    if (child_ == 0) {
        closeAllBut(pipe[1], kept);
        work(pipe[1]);
        ::_exit(0);
    }
    ::close(pipe[1]);
    answer_ = pipe[0];
}

ChildQuestion::~ChildQuestion()
{
    if (answer_ >= 0)
        ::close(answer_);
    // Called once the answer is complete or the child has ended: a child
    // still writing finds no reader and ends.
    if (child_ > 0)
        ::waitpid(static_cast<pid_t>(child_), nullptr, 0);
}

size_t ChildQuestion::readSome(void* buffer, size_t size)
{
    for (;;) {
        const ssize_t count = child_ > 0 ? ::read(answer_, buffer, size) : 0;
        if (count >= 0 || errno != EINTR)
            return count > 0 ? static_cast<size_t>(count) : 0;
    }
}

size_t ChildQuestion::readExactly(void* buffer, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const size_t count = readSome(static_cast<char*>(buffer) + done, size - done);
        if (count == 0)
            break;
        done += count;
    }
    return done;
}

bool writeAll(int fd, const void* data, size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t count = ::write(fd, bytes, size);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        bytes += count;
        size -= static_cast<size_t>(count);
    }
    return true;
}

} // namespace kadrix
