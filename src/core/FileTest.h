#pragma once

#include <QString>

namespace kadrix {

class Messages;
struct ListedDirectory;

// Whether a file can be opened for reading: 0 when it can, else the error
// number (53: the file does not exist). The path is `name` alone when
// `directory` is empty, else the two joined; letter case is ignored. With
// `report` not 0 a failure is first shown in an "Error opening file: " box.
// Names in the directory that `listed` stands for are looked up there.
int TestFile(Messages& messages, const QString& directory, const QString& name, int report,
             const ListedDirectory* listed = nullptr);

// The same test, never shown to the user.
int TestFileSilent(const QString& directory, const QString& name);

// The path the two tests name in their message: joined and upper-cased.
QString testedPath(const QString& directory, const QString& name);

} // namespace kadrix
