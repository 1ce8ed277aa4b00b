#pragma once

#include "platform/Messages.h"

#include <QDebug>

#include <deque>
#include <optional>
#include <vector>

namespace kadrix {

// Shows a message box in a failed comparison.
QDebug operator<<(QDebug debug, const MessageBox& box);

} // namespace kadrix

namespace kadrix::test {

// Records every message box and dialog, and answers from a script. An
// unscripted box answers with its first button (OK or Yes); an unscripted
// input box or file dialog is cancelled; an unscripted colour dialog is
// cancelled, returning the colour it opened with.
class FakeMessages final : public Messages {
public:
    MessageAnswer showMessage(const MessageBox& box) override;
    QString inputBox(const InputBox& box) override;
    QString openFileName(const OpenFileDialog& dialog) override;
    QColor chooseColour(const QColor& initial) override;
    void printerSetup() override;

    std::vector<MessageBox> boxes;
    std::deque<MessageAnswer> answers;

    std::vector<InputBox> inputs;
    std::deque<QString> inputAnswers;

    std::vector<OpenFileDialog> fileDialogs;
    std::deque<QString> fileAnswers;

    std::vector<QColor> colourDialogs;
    std::deque<std::optional<QColor>> colourAnswers;

    int printerSetups = 0;

    QStringList texts() const;
    void clear();
};

} // namespace kadrix::test
