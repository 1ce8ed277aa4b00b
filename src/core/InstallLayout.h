#pragma once

#include <QString>

namespace kadrix {

// The desktop entry's name without ".desktop", which is also the
// application id a Wayland compositor matches it by.
QString desktopFileName();

// The help texts and manuals of an installed copy, found from the
// directory of the running executable.
QString installedDocumentsDirectory();

// The directory the help text `name` is read from: the program directory,
// unless it lacks the file and the installed copy's documents hold it.
QString helpTextDirectory(const QString& progDir, const QString& name,
                          const QString& installed = installedDocumentsDirectory());

// ManualsDir, ending in a separator: the program directory's manuals/,
// unless it holds no PDF and the installed copy's manuals/ does.
QString manualsDirectory(const QString& progDir,
                         const QString& installed = installedDocumentsDirectory());

} // namespace kadrix
