#include "app/CommandLine.h"
#include "app/VersionText.h"
#include "app/frmKadrix.h"
#include "platform/Host.h"
#include "platform/ProcessStarter.h"
#include "platform/QtMessages.h"
#include "platform/QtSettingsStore.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The argument text as typed, taken before Qt removes the options it knows.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kadrix95"));
    QApplication::setQuitOnLastWindowClosed(false);

    kadrix::QtMessages messages;
    kadrix::ProcessStarter starter(messages);
    kadrix::QtSettingsStore settings;
    kadrix::Host host{messages, starter, settings};
    kadrix::frmKadrix window(host,
                             {kadrix::argumentTextOf(arguments),
                              QCoreApplication::applicationDirPath(), kadrix::buildVersion()});
    QObject::connect(&window, &kadrix::frmKadrix::unloaded, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.Form_Load();
    if (window.isUnloaded())
        return 0;
    window.show();
    return QApplication::exec();
}
