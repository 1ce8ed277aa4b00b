#pragma once

#include "dgoptions/DgFileNames.h"
#include "platform/Messages.h"

namespace kadrix {

// The boxes of the options dialog and of the header rewrite.

MessageBox saveQuestion();

// The "Data Needs Refining" warning when a choice that refining depends on
// was made, or nothing (empty text) when there is none.
MessageBox refiningWarning(int refSystem, int reverseX);

// The box of a save; for a trial that is a link it names the files beside
// the link's target, where they are.
MessageBox savedMessage(const DgFileNames& names);

// The box of a save during which another program put a file of its own
// under the trial's name; `restored` when that file has the name again.
MessageBox replacedMessage(const DgFileNames& names, bool restored);

// The "Save error" box. `changesIn` names the file that holds the new
// header; empty when none was kept.
MessageBox saveErrorMessage(const FileError& error, const QString& changesIn);

} // namespace kadrix
