#include "browser/PathOpener.h"

#include "browser/Browser.h"
#include "browser/BrowserPanel.h"
#include "browser/FileList.h"
#include "browser/FilePattern.h"
#include "core/DroppedPaths.h"
#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"

#include <QDir>
#include <QMimeData>

namespace kadrix {

namespace {

// "/data/trials/" names the directory "/data/trials".
QString withoutTrailingSeparators(QString path)
{
    while (path.size() > 1 && (path.endsWith(QLatin1Char('/')) || path.endsWith(QDir::separator())))
        path.chop(1);
    return path;
}

qsizetype nameStart(const QString& path)
{
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QDir::separator())) + 1;
}

} // namespace

PathOpener::PathOpener(Browser& browser, QObject* parent)
    : QObject(parent)
    , browser_(browser)
{}

bool PathOpener::namesPaths(const QMimeData& data)
{
    return !droppedPaths(data).isEmpty();
}

void PathOpener::drop(const QMimeData& data)
{
    open(droppedPaths(data), QStringLiteral("dropped"));
}

void PathOpener::paste(const QMimeData* data)
{
    const QStringList paths = data ? droppedPaths(*data) : QStringList();
    if (paths.isEmpty())
        Q_EMIT told(QStringLiteral("The clipboard holds no path of a file or directory."));
    else
        open(paths, QStringLiteral("pasted"));
}

void PathOpener::open(const QStringList& paths, const QString& how)
{
    if (paths.isEmpty())
        return;
    const QString path = withoutTrailingSeparators(paths.front());
    // The drive is asked about first: a look into a share that does not
    // answer would hold the window.
    if (!browser_.driveAnswers(path))
        return;
    if (kindOfPath(path) == PathKind::File) {
        openFile(path, paths.size(), how);
        return;
    }
    // A directory is entered; anything else is refused as the directory
    // list refuses it.
    if (browser_.enterDirectory(path) && paths.size() > 1)
        Q_EMIT told(QStringLiteral("%1 items %2; the first, a directory, is open.")
                        .arg(paths.size())
                        .arg(how));
}

void PathOpener::openFile(const QString& path, qsizetype count, const QString& how)
{
    const qsizetype start = nameStart(path);
    // A root keeps its separator: "/" and "C:\\".
    const bool inRoot = start <= 1 || path.at(start - 2) == QLatin1Char(':');
    const QString directory = path.left(inRoot ? start : start - 1);
    const QString name = path.mid(start);
    if (!browser_.enterDirectory(directory))
        return;
    // The lists are read afresh, so that a file just written is there.
    browser_.rereadFileListsThen([this, name, count, how] { selectListed(name, count, how); });
}

void PathOpener::selectListed(const QString& name, qsizetype count, const QString& how)
{
    const BrowserPanel& ui = browser_.panel();
    if (ui.filDatafiles->selectName(name)) {
        browser_.filDatafiles_Click();
    } else if (ui.filConverts->selectName(name)) {
        browser_.filConverts_Click();
    } else {
        const bool typeListed = FilePattern(ui.filDatafiles->pattern()).matches(name) ||
                                FilePattern(ui.filConverts->pattern()).matches(name);
        Q_EMIT told(shownName(name) +
                    (typeListed ? QStringLiteral(" is not selected: it is not in the file lists.")
                                : QStringLiteral(" is not selected: the file lists do not show "
                                                 "its type (\"All files\" shows every file).")));
        return;
    }
    if (count > 1)
        Q_EMIT told(QStringLiteral("%1 files %2; the first is selected.").arg(count).arg(how));
}

} // namespace kadrix
