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

namespace {

// The next scripted answer, or `fallback` when the script is used up.
template <typename Answer, typename Fallback>
Answer nextAnswer(std::deque<Answer>& script, Fallback fallback)
{
    if (script.empty())
        return Answer(fallback);
    Answer answer = script.front();
    script.pop_front();
    return answer;
}

} // namespace

MessageAnswer FakeMessages::showMessage(const MessageBox& box)
{
    boxes.push_back(box);
    const bool asksYes =
        box.buttons == MessageButtons::YesNo || box.buttons == MessageButtons::YesNoCancel;
    return nextAnswer(answers, asksYes ? MessageAnswer::Yes : MessageAnswer::Ok);
}

QString FakeMessages::inputBox(const InputBox& box)
{
    inputs.push_back(box);
    return nextAnswer(inputAnswers, QString());
}

QString FakeMessages::openFileName(const OpenFileDialog& dialog)
{
    fileDialogs.push_back(dialog);
    return nextAnswer(fileAnswers, QString());
}

QColor FakeMessages::chooseColour(const QColor& initial)
{
    colourDialogs.push_back(initial);
    return nextAnswer(colourAnswers, initial).value_or(initial);
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
