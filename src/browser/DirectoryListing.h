#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

namespace kadrix {

// What one directory holds, as the browser's lists show it: hidden and
// system entries left out, names sorted regardless of letter case.
struct DirectoryListing {
    QString path;
    QStringList files;
    QStringList subdirectories;
    bool readable = false;
    // Why an unreadable directory could not be read.
    QString problem;

    bool sameContents(const DirectoryListing& other) const
    {
        return path == other.path && files == other.files &&
               subdirectories == other.subdirectories && readable == other.readable;
    }
};

// Reads the directory now, in the calling thread.
DirectoryListing readDirectory(const QString& path);

// Sorts names as the file lists show them: regardless of letter case, and
// names equal but for case in a fixed order.
void sortNames(QStringList& names);
// Whether `a` comes before `b` in that order.
bool namesInOrder(const QString& a, const QString& b);

} // namespace kadrix

Q_DECLARE_METATYPE(kadrix::DirectoryListing)
