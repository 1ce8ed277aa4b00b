#pragma once

#include "dgoptions/DgFileNames.h"
#include "platform/Messages.h"

namespace kadrix {

// The boxes of the options dialog and of the header rewrite.

MessageBox saveQuestion();

// The "Data Needs Refining" warning when a choice that refining depends on
// was made, or nothing (empty text) when there is none.
MessageBox refiningWarning(int refSystem, int reverseX);

MessageBox savedMessage(const DgFileNames& names);

// The "Save error" box. `changesIn` names the file that holds the new
// header; empty when none was kept.
MessageBox saveErrorMessage(const FileError& error, const QString& changesIn);

} // namespace kadrix
