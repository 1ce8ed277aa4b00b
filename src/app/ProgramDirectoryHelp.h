#pragma once

#include <QStringList>

namespace kadrix {

// The details of the "Kadrix.exe was not found" box: the directories that
// were searched, and where the user or the administrator sets the program
// directory.
QString programDirectoryHelp(const QStringList& searched);

} // namespace kadrix
