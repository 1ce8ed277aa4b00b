#include "core/CommandLine.h"

#include "core/AppState.h"

namespace kadrix {

namespace {

bool isWordSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringList splitWords(const QString& text, int maxArgs)
{
    QStringList words{QString()};
    bool inWord = false;
    for (const QChar c : text) {
        if (isWordSeparator(c)) {
            inWord = false;
            continue;
        }
        if (!inWord) {
            if (words.size() - 1 >= maxArgs)
                break;
            words.append(QString());
            inWord = true;
        }
        words.last().append(c);
    }
    return words;
}

bool isSwitch(const QString& word)
{
    return word.startsWith(QLatin1Char('-')) || word.startsWith(QLatin1Char('/'));
}

} // namespace

QStringList GetCommandLine(AppState& state, const QString& argumentText,
                           const QString& currentDirectory, int maxArgs)
{
    const QStringList words = splitWords(argumentText, maxArgs);
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (!words.at(i).isEmpty() && !isSwitch(words.at(i))) {
            state.TrialPath = words.at(i);
            break;
        }
        state.DataDir = currentDirectory;
    }
    return words;
}

QString argumentTextOf(const QStringList& arguments)
{
    return arguments.mid(1).join(QLatin1Char(' '));
}

} // namespace kadrix
