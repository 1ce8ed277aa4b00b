#include "app/frmKadrix.h"
#include "core/CommandLine.h"
#include "core/DesktopCommandLine.h"
#include "core/InstallLayout.h"
#include "core/VersionText.h"
#include "docs/ReaderPlugin.h"
#include "docs/ReaderPluginLoader.h"
#include "platform/Host.h"
#include "platform/HostStarter.h"
#include "platform/NativeNames.h"
#include "platform/QtMessages.h"
#include "platform/QtSettingsStore.h"
#include "platform/Starter.h"

#include <QApplication>

#include <cstdio>

namespace {

// Answers --help and --version on standard output; true when it did. No
// window or display is needed for either.
bool answeredInformation(const QStringList& arguments)
{
    switch (kadrix::infoRequestOf(arguments)) {
    case kadrix::InfoRequest::Help:
        std::fputs(kadrix::helpText().toLocal8Bit().constData(), stdout);
        return true;
    case kadrix::InfoRequest::Version:
        std::printf("kadrix95 %s\n",
                    kadrix::versionTextOf(kadrix::buildVersion()).toLocal8Bit().constData());
        return true;
    case kadrix::InfoRequest::None:
        break;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    // The argument text as typed, taken before Qt removes the options it knows.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(kadrix::decodeNativeName(argv[i]));
    if (answeredInformation(arguments.mid(1)))
        return 0;

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kadrix95"));
    QApplication::setDesktopFileName(kadrix::desktopFileName());
    QApplication::setQuitOnLastWindowClosed(false);

    kadrix::QtMessages messages;
    // Printing lives in the reader plugin, loaded the first time it is needed.
    messages.setPrinterSetup([&messages](QWidget* parent) {
        if (kadrix::ReaderPlugin* plugin = kadrix::readerPlugin(messages))
            plugin->printerSetup(parent);
    });
    const std::unique_ptr<kadrix::Starter> starter = kadrix::makeHostStarter(messages);
    kadrix::QtSettingsStore settings;
    kadrix::Host host{messages, *starter, settings};
    kadrix::frmKadrix window(host, {.argumentText = kadrix::argumentTextOf(arguments),
                                    .executableDirectory = QCoreApplication::applicationDirPath(),
                                    .version = kadrix::buildVersion(),
                                    .arguments = arguments.mid(1)});
    QObject::connect(&window, &kadrix::frmKadrix::unloaded, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.Form_Load();
    if (window.isUnloaded())
        return 0;
    window.show();
    return QApplication::exec();
}
