// The baseline of the start-up bench: a bare Qt window, linked against Qt
// Widgets only.
//
//   bench_bare_window idle
//       shows the window and ends once its event loop is idle, printing its
//       peak memory in KiB;
//   bench_bare_window start <program> <arguments...>
//       shows the window, then starts the program in the current directory,
//       as the front-end starts a companion, and waits to be ended.

#include "ProcessMemory.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QMainWindow window;
    window.resize(574, 386);
    window.show();
    if (arguments.size() > 2 && arguments.at(1) == QLatin1String("start")) {
        QProcess::startDetached(arguments.at(2), arguments.mid(3), QDir::currentPath());
        return QApplication::exec();
    }
    // Ends once every pending event, the window's first paint among them,
    // has been handled.
    QTimer::singleShot(0, &application, [] {
        std::printf("%ld\n", peakMemoryKiB());
        QCoreApplication::quit();
    });
    return QApplication::exec();
}
