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

// A path cut at the last dot of its file name: {"/d/walk", "dg"}. A dot in
// a directory part does not count, and a name with no dot after its first
// character has no extension. StripExt and GetExt keep the classic rule,
// where every dot counts; this one is for names derived from a path.
struct SplitName {
    QString stem;
    QString extension;
};
SplitName splitExtension(const QString& path);

} // namespace kadrix
