#pragma once

#include <QStringList>

#include <functional>

class QObject;

namespace kadrix {

// Reads the names of the .DG files of `directory` (any letter case) on a
// thread of its own, where a share that does not answer holds nothing but
// that thread, and calls `then` on `receiver`'s thread with the names, or
// with why the directory could not be read. Nothing is called once
// `receiver` has gone.
void listDgFilesThen(const QString& directory, QObject* receiver,
                     std::function<void(const QStringList& names, const QString& problem)> then);

} // namespace kadrix
