#pragma once

#include "platform/DirectoryScan.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string_view>

namespace kadrix {

class DirectoryNames;

// The files of a listing that match one file list's pattern.
struct MatchingFiles {
    QString pattern;
    QStringList names;
};

// What one directory holds, as the browser's lists show it: hidden and
// system entries left out, names sorted regardless of letter case, and the
// files matched against each file list's pattern where the directory was
// read.
struct DirectoryListing {
    QString path;
    QStringList subdirectories;
    bool readable = false;
    // Why an unreadable directory could not be read.
    QString problem;
    QList<MatchingFiles> matching;
    // Every entry as read, indexed regardless of letter case.
    std::shared_ptr<const DirectoryNames> names;
    // False while the directory's reading has read nothing for too long (a
    // share whose server has stopped answering): nothing is known of it.
    bool answering = true;

    // The files matching `pattern`, or null when the listing was not asked
    // for that pattern.
    const QStringList* filesMatching(const QString& pattern) const;
};

// Reads the directory now, in the calling thread, and matches its files
// against `patterns`.
DirectoryListing readDirectory(const QString& path, const QStringList& patterns = {});

// Sorts names as the file lists show them: regardless of letter case, and
// names equal but for case in a fixed order.
void sortNames(QStringList& names);
// Whether `a` comes before `b` in that order.
bool namesInOrder(const QString& a, const QString& b);

} // namespace kadrix

Q_DECLARE_METATYPE(kadrix::DirectoryListing)
