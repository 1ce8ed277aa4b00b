#pragma once

#include <QStringList>

namespace kadrix {

class Messages;
class ReaderPlugin;

// The directories searched for the reader plugin, in order: beside the
// executable (the build tree), then the installed plugin directory, found
// from the executable's place and by its absolute path.
QStringList readerPluginDirectories();

// Loads the reader plugin from the first of the directories that holds it.
// When none does, or it cannot be loaded, tells the user why and answers
// null; the caller goes on without the reader or printing.
ReaderPlugin* loadReaderPlugin(Messages& messages, const QStringList& directories);

// The reader plugin, loaded from readerPluginDirectories() on first use.
// A failed load is tried again the next time.
ReaderPlugin* readerPlugin(Messages& messages);

} // namespace kadrix
