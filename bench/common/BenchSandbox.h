#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

// Nothing a bench does may reach the user's home, settings or display.
inline void isolateInto(const QTemporaryDir& sandbox)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char* variable :
         {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        qputenv(variable, QFile::encodeName(sandbox.path()));
    ::chmod(QFile::encodeName(sandbox.path()).constData(), 0700);
}
