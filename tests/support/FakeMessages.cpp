#include "FakeMessages.h"

namespace kadrix {

QDebug operator<<(QDebug debug, const MessageBox& box)
{
    const QDebugStateSaver saver(debug);
    return debug.nospace() << "MessageBox{" << box.text << ", " << box.title << ", "
                           << int(box.buttons) << ", " << int(box.icon) << ", " << box.detail
                           << '}';
}

} // namespace kadrix

namespace kadrix::test {

MessageAnswer FakeMessages::showMessage(const MessageBox& box)
{
    boxes.push_back(box);
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    const bool asksYes =
        box.buttons == MessageButtons::YesNo || box.buttons == MessageButtons::YesNoCancel;
    return asksYes ? MessageAnswer::Yes : MessageAnswer::Ok;
}

QString FakeMessages::inputBox(const InputBox& box)
{
    inputs.push_back(box);
    if (inputAnswers.empty())
        return {};
    QString answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

QString FakeMessages::openFileName(const OpenFileDialog& dialog)
{
    fileDialogs.push_back(dialog);
    if (fileAnswers.empty())
        return {};
    QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

QColor FakeMessages::chooseColour(const QColor& initial)
{
    colourDialogs.push_back(initial);
    if (colourAnswers.empty())
        return initial;
    const std::optional<QColor> answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer.value_or(initial);
}

void FakeMessages::printerSetup()
{
    ++printerSetups;
}

QStringList FakeMessages::texts() const
{
    QStringList result;
    for (const MessageBox& box : boxes)
        result.append(box.text);
    return result;
}

void FakeMessages::clear()
{
    boxes.clear();
    inputs.clear();
    fileDialogs.clear();
    colourDialogs.clear();
    printerSetups = 0;
}

} // namespace kadrix::test
