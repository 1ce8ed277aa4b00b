#pragma once

#include "platform/Starter.h"

#include <optional>

namespace kadrix {

class Messages;

// Program starts on Windows, as the classic program made them: the shell
// start through ShellExecuteExW with the verb "open", the program, the
// parameter text exactly as built, the working directory and the show code;
// the command start through CreateProcessW with the command text. The
// system tools keep their classic names ("command.com" is "cmd.exe" since
// Windows NT). A start that cannot be made is reported with the system's
// own description of the error. A watched program's end is learnt from its
// process handle.
class WindowsStarter final : public Starter {
    Q_OBJECT

public:
    explicit WindowsStarter(Messages& messages);

    double start(const StartRequest& request) override;
    qint64 startWatched(const StartRequest& request) override;

private:
    // The started process's handle (null when the shell opened no process of
    // its own) and its id, or nothing when the start failed.
    struct Started {
        void* process = nullptr;
        qint64 id = 0;
    };
    std::optional<Started> launch(const StartRequest& request);
    std::optional<Started> shellStart(const StartRequest& request);
    std::optional<Started> commandStart(const StartRequest& request);
    void watch(qint64 start, void* process);
    void reportFailure(const StartRequest& request, unsigned long error);

    Messages& messages_;
    qint64 nextWatch_ = 1;
};

} // namespace kadrix
