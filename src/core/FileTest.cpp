#include "core/FileTest.h"

#include "platform/FileErrors.h"
#include "platform/Messages.h"
#include "platform/NativeNames.h"
#include "platform/PathLookup.h"

namespace kadrix {

namespace {

FileError openForReading(const QString& directory, const QString& name,
                         const ListedDirectory* listed = nullptr)
{
    return testOpenForReading(resolvePathCase(joinPath(directory, name), listed));
}

QString openErrorText(const QString& path, const FileError& error)
{
    return QStringLiteral("Error opening file: ") + path + QStringLiteral("\n\n\"") +
           error.description + QStringLiteral("\"  (") + QString::number(error.number) +
           QLatin1Char(')');
}

} // namespace

QString testedPath(const QString& directory, const QString& name)
{
    return upperCased(joinPath(directory, name));
}

int TestFile(Messages& messages, const QString& directory, const QString& name, int report,
             const ListedDirectory* listed)
{
    const FileError error = openForReading(directory, name, listed);
    if (error && report != 0) {
        messages.showMessage({openErrorText(testedPath(directory, name), error), kApplicationTitle,
                              MessageButtons::Ok, MessageIcon::Critical});
    }
    return error.number;
}

int TestFileSilent(const QString& directory, const QString& name)
{
    return openForReading(directory, name).number;
}

} // namespace kadrix
