#pragma once

#include <QString>

namespace kadrix {

// The name without its last extension: "run1.dg" gives "run1". A name whose
// only dot is its first character is returned unchanged. Every dot counts,
// also one in a directory part of a path.
QString StripExt(const QString& name);

// The text after the last dot: "run1.dg" gives "dg"; a name without any dot
// is returned whole.
QString GetExt(const QString& name);

} // namespace kadrix
