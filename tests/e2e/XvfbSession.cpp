#include "XvfbSession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QStandardPaths>

#include <sys/stat.h>

namespace kadrix::test {

bool XvfbSession::toolsAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
}

XvfbSession::XvfbSession()
{
    if (!toolsAvailable())
        return;
    // The server of an ordinary user does not create its socket directory.
    if (QDir().mkpath(QStringLiteral("/tmp/.X11-unix")))
        ::chmod("/tmp/.X11-unix", 01777);
    // Xvfb takes a free display and writes its number once it accepts clients.
    server_.start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp")});
    const QDeadlineTimer deadline(20000);
    while (!server_.canReadLine() && server_.waitForReadyRead(int(deadline.remainingTime())))
        ;
    if (server_.canReadLine())
        display_ = QLatin1Char(':') + QString::fromLatin1(server_.readLine()).trimmed();
}

XvfbSession::~XvfbSession()
{
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        if (!server_.waitForFinished(5000))
            server_.kill();
        server_.waitForFinished();
    }
}

QString XvfbSession::xdotool(const QStringList& arguments) const
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(20000)) {
        tool.kill();
        tool.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

QString XvfbSession::window(const QString& pattern, bool wait) const
{
    QStringList arguments{QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                          QStringLiteral("--name"), pattern};
    if (wait)
        arguments.insert(1, QStringLiteral("--sync"));
    return xdotool(arguments).section(QLatin1Char('\n'), 0, 0);
}

void XvfbSession::press(const QString& window, const QString& keys) const
{
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    xdotool({QStringLiteral("key"), keys});
}

} // namespace kadrix::test
