#pragma once

#include <QStringList>

namespace kadrix {

// The classic file dialog's filters as the host's file dialog reads them:
// "*.*" meant every file, also one without an extension.
QStringList hostFileFilters(QStringList filters);

} // namespace kadrix
