#pragma once

#include <QtGlobal>

#include <cstddef>
#include <functional>

namespace kadrix {

// A child process that asks the file system one question and writes the
// answer into a pipe. A question to a network share whose server has
// stopped answering holds the asking thread in the kernel beyond any signal,
// and with it the end of the whole process; a child holding it holds only
// itself, and the thread reading the pipe can always be left behind. The
// child keeps no descriptor of the front-end's but the pipe and `kept`: not
// the display's connection, which would hold the windows on the screen after
// the front-end has gone while the child still waits, nor an open trial.
class ChildQuestion {
public:
    // Forks a child that runs `work` with the pipe's writing end and ends;
    // `work` may call only what is safe after a fork (system calls, no
    // allocation). `asked()` is false when no child could be made.
    explicit ChildQuestion(const std::function<void(int answerFd)>& work, int kept = -1);
    ~ChildQuestion();
    ChildQuestion(const ChildQuestion&) = delete;
    ChildQuestion& operator=(const ChildQuestion&) = delete;

    bool asked() const { return child_ > 0; }
    // Reads what has come of the answer, at most `size` bytes, waiting for
    // some; 0 once the child has ended.
    size_t readSome(void* buffer, size_t size);
    // Reads `size` bytes, waiting for all of them; fewer when the child ended
    // before.
    size_t readExactly(void* buffer, size_t size);

private:
    int answer_ = -1;
    qint64 child_ = -1; // the process id
};

// Closes every descriptor above the standard three but `first` and
// `second` (either may be -1); safe after a fork.
void closeAllBut(int first, int second);

// Writes all of `size` bytes; false when the reader has gone.
bool writeAll(int fd, const void* data, size_t size);

} // namespace kadrix
