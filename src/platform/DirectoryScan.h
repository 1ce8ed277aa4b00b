#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <string_view>

namespace kadrix {

// Called with the name of each entry the lists show, as the system encodes
// it, and whether it is a directory.
using EntryVisitor = std::function<void(std::string_view name, bool directory)>;

enum class EntryKind { Other, File, Directory };

// What the entry `name` of the open directory `directoryFd` is, given the
// type the directory tells for it (d_type): pipes, sockets, devices and
// broken links are system entries, which the lists leave out; a link counts
// as what it points to. Only a link or an entry of unknown type is asked
// for its status.
EntryKind kindOfEntry(int directoryFd, const char* name, unsigned char type);

// Visits the entries of `path` in the order the system hands them out: one
// pass over the directory, with a status call only for entries whose type
// the directory itself does not tell (symbolic links, some file systems).
// Returns why the directory cannot be read, or nothing when it was read.
QString scanDirectory(const QString& path, const EntryVisitor& visit);

// Whether a file system of type `type` (ext4, nfs4, fuse.sshfs, ...) lies on
// a local disk or in memory, and answers from this machine; any other may
// wait on a server.
bool isLocalFileSystem(QByteArrayView type);

// Whether the directory `path` (bytes as the system holds them) lies on a
// local file system; it is looked up, never opened.
bool isOnLocalFileSystem(const QByteArray& path);

// Why a directory that could not be opened cannot be read, from the errno.
QString unreadableDirectoryProblem(int error);

// Reading a directory by a child process, and watching it from before the
// first name is read, so that no name made during the reading goes
// unnoticed.
struct ChildScan {
    int watchFd = -1;       // an inotify instance to add the directory to, or -1
    unsigned watchMask = 0; // the events to watch for
    int watch = -1;         // the watch added, or -1: set by the reading
};

// Visits the entries of `path`, as the system hands them out, each as soon
// as it arrives. A directory on a share whose server has stopped answering
// holds the child that reads it, and the calling thread in a pipe read that
// ending the process always ends; never the process's end. Returns why the
// directory cannot be read, or nothing when it was read.
QString scanInChild(const QString& path, const EntryVisitor& visit, ChildScan& scan);

// Reads and watches `path` as `scanInChild` does, but directly where the
// directory lies on a local file system: a child costs a copy of the
// process's page tables, and the pages the process writes while it lives.
QString scanWatched(const QString& path, const EntryVisitor& visit, ChildScan& scan);

} // namespace kadrix
