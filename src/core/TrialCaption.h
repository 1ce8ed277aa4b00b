#pragma once

#include <QString>

#include <optional>

namespace kadrix {

// The caption of the trial label: "Selected file: " and the trial's name in
// upper case, then "." and its extension when one is given (a name that is
// no UTF-8 shown with its odd bytes written out).
QString trialCaption(const QString& trialName, const std::optional<QString>& trialExt = {});

// A directory as the path label and the recent directories show it: in
// lower case, with the host's own separators and odd bytes written out.
QString shownDirectory(const QString& path);

} // namespace kadrix
