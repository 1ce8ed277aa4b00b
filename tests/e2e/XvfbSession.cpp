#include "XvfbSession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

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
    for (int number = 90; number < 190; ++number) {
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
            continue;
        server_.start(QStringLiteral("Xvfb"),
                      {QStringLiteral(":%1").arg(number), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1024x768x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!server_.waitForStarted())
            return;
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && server_.state() == QProcess::Running &&
               !QFile::exists(socket))
            QThread::msleep(50);
        if (server_.state() == QProcess::Running && QFile::exists(socket)) {
            display_ = QStringLiteral(":%1").arg(number);
            return;
        }
        server_.kill();
        server_.waitForFinished();
    }
}

XvfbSession::~XvfbSession()
{
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        if (!server_.waitForFinished(5000)) {
            server_.kill();
            server_.waitForFinished();
        }
    }
}

QString XvfbSession::xdotool(const QStringList& arguments, int timeoutMs) const
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(timeoutMs)) {
        tool.kill();
        tool.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

} // namespace kadrix::test
