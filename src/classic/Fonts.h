#pragma once

#include <QFont>
#include <QString>

namespace kadrix {

// The fonts the window designs name, mapped to the platform's own: a
// sans-serif face for "MS Sans Serif" and the like, a fixed-pitch face for
// "Courier New".
QFont sansSerifFont(double points, bool bold = false);
QFont fixedPitchFont(double points, bool bold = false);

// A stored caption as a label shows it: "&&" becomes "&", a single "&"
// (an access-key mark) is dropped.
QString displayCaption(const QString& caption);

} // namespace kadrix
