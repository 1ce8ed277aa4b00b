#pragma once

#include "platform/Starter.h"

namespace kadrix {

class Messages;

// Program starts on Windows, as the classic program made them: the shell
// start through ShellExecuteExW with the verb "open", the program, the
// parameter text exactly as built, the working directory and the show code;
// the command start through CreateProcessW with the command text. The
// system tools keep their classic names ("command.com" is "cmd.exe" since
// Windows NT). A start that cannot be made is reported with the system's
// own description of the error.
class WindowsStarter final : public Starter {
    Q_OBJECT

public:
    explicit WindowsStarter(Messages& messages);

    double start(const StartRequest& request) override;

private:
    double shellStart(const StartRequest& request);
    double commandStart(const StartRequest& request);
    void reportFailure(const StartRequest& request, unsigned long error);

    Messages& messages_;
};

} // namespace kadrix
