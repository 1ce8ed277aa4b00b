#include "core/InstallLayout.h"

#include "core/FileTest.h"

#include <QCoreApplication>
#include <QDir>

namespace kadrix {

namespace {

QString manualsOf(const QString& directory)
{
    return directory + QStringLiteral("/manuals/");
}

bool holdsPdf(const QString& directory)
{
    return !QDir(directory).entryList({QStringLiteral("*.pdf")}, QDir::Files).isEmpty();
}

} // namespace

QString desktopFileName()
{
    return QStringLiteral(KADRIX_APP_ID);
}

QString installedDocumentsDirectory()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(KADRIX_DOCS_FROM_BIN));
}

QString helpTextDirectory(const QString& progDir, const QString& name, const QString& installed)
{
    if (TestFileSilent(progDir, name) != 0 && TestFileSilent(installed, name) == 0)
        return installed;
    return progDir;
}

QString manualsDirectory(const QString& progDir, const QString& installed)
{
    if (!holdsPdf(manualsOf(progDir)) && holdsPdf(manualsOf(installed)))
        return manualsOf(installed);
    return manualsOf(progDir);
}

} // namespace kadrix
