#include "docs/ReaderPluginLoader.h"

#include "docs/ReaderPlugin.h"
#include "platform/Messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

namespace kadrix {

namespace {

// The plugin's file name, as the build names it for the host.
const QString kPluginFile = QStringLiteral(KADRIX_PLUGIN_FILE);

void reportFailure(Messages& messages, const QString& reason)
{
    messages.showMessage(
        {QStringLiteral("The PDF reader and printing could not be loaded.\n\n") + reason,
         kApplicationTitle, MessageButtons::Ok, MessageIcon::Exclamation});
}

} // namespace

QStringList readerPluginDirectories()
{
    const QString executableDirectory = QCoreApplication::applicationDirPath();
    return {executableDirectory,
            QDir::cleanPath(executableDirectory + QStringLiteral("/../" KADRIX_PLUGIN_LIBDIR)),
            QStringLiteral(KADRIX_PLUGIN_FULL_LIBDIR)};
}

ReaderPlugin* loadReaderPlugin(Messages& messages, const QStringList& directories)
{
    for (const QString& directory : directories) {
        const QString file = directory + QLatin1Char('/') + kPluginFile;
        if (!QFileInfo::exists(file))
            continue;
        QPluginLoader loader(file);
        if (auto* plugin = qobject_cast<ReaderPlugin*>(loader.instance()))
            return plugin;
        reportFailure(messages, loader.errorString());
        return nullptr;
    }
    reportFailure(messages, kPluginFile + QStringLiteral(" was not found in ") +
                                directories.join(QStringLiteral(", ")) + QLatin1Char('.'));
    return nullptr;
}

ReaderPlugin* readerPlugin(Messages& messages)
{
    static ReaderPlugin* loaded = nullptr;
    if (!loaded)
        loaded = loadReaderPlugin(messages, readerPluginDirectories());
    return loaded;
}

} // namespace kadrix
