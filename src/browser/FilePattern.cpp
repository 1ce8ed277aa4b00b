#include "browser/FilePattern.h"

#include "platform/NativeNames.h"

namespace kadrix {

namespace {

bool isPlainExtension(const QString& extension)
{
    return !extension.isEmpty() && !extension.contains(QLatin1Char('*')) &&
           !extension.contains(QLatin1Char('?')) && !extension.contains(QLatin1Char('[')) &&
           !extension.contains(QLatin1Char('.'));
}

} // namespace

FilePattern::FilePattern(const QString& pattern)
    : text_(pattern)
{
    const QStringList wildcards = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& raw : wildcards) {
        const QString wildcard = raw.trimmed();
        if (wildcard == QLatin1String("*.*") || wildcard == QLatin1String("*")) {
            matchesAll_ = true;
        } else if (wildcard.startsWith(QLatin1String("*.")) && isPlainExtension(wildcard.mid(2))) {
            extensions_.push_back(wildcard.mid(2));
        } else if (!wildcard.isEmpty()) {
            // Both sides folded in A to Z alone, as the names are elsewhere.
            others_.push_back(
                QRegularExpression::fromWildcard(foldedAsciiCase(wildcard), Qt::CaseSensitive));
        }
    }
}

bool FilePattern::matches(const QString& fileName) const
{
    if (matchesAll_)
        return true;
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) {
        const QStringView extension = QStringView(fileName).mid(dot + 1);
        for (const QString& wanted : extensions_) {
            if (sameIgnoringAsciiCase(extension, wanted))
                return true;
        }
    }
    if (others_.empty())
        return false;
    const QString folded = foldedAsciiCase(fileName);
    for (const QRegularExpression& expression : others_) {
        if (expression.match(folded).hasMatch())
            return true;
    }
    return false;
}

QStringList FilePattern::filter(const QStringList& fileNames) const
{
    if (matchesAll_)
        return fileNames;
    QStringList matching;
    for (const QString& name : fileNames) {
        if (matches(name))
            matching.append(name);
    }
    return matching;
}

} // namespace kadrix
