#include "core/FileNames.h"

namespace kadrix {

namespace {

// 1-based position of the last dot, 0 when there is none.
qsizetype lastDotPosition(const QString& name)
{
    return name.lastIndexOf(QLatin1Char('.')) + 1;
}

} // namespace

QString StripExt(const QString& name)
{
    const qsizetype p = lastDotPosition(name);
    return p > 1 ? name.left(p - 1) : name;
}

QString GetExt(const QString& name)
{
    return name.right(name.size() - lastDotPosition(name));
}

SplitName splitExtension(const QString& path)
{
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= nameStart)
        return {path, {}};
    return {path.left(dot), path.mid(dot + 1)};
}

} // namespace kadrix
