#include "browser/RecentMenu.h"

#include "browser/Browser.h"
#include "core/AppState.h"
#include "core/HandlerContext.h"
#include "platform/Host.h"

#include <QAction>

namespace kadrix {

RecentMenu::RecentMenu(HandlerContext& context, RecentMenuItems& items, Browser& browser,
                       QObject* parent)
    : QObject(parent)
    , context_(context)
    , items_(items)
    , browser_(browser)
{
    showList();
}

void RecentMenu::load()
{
    recent_.load(context_.host.settings);
    showList();
}

void RecentMenu::save()
{
    recent_.save(context_.host.settings);
}

void RecentMenu::record(const QString& directory)
{
    if (recent_.record(directory))
        showList();
}

void RecentMenu::forget(const QString& directory)
{
    if (recent_.forget(directory))
        showList();
}

void RecentMenu::mnuRecent_Click(int Index)
{
    const QString directory = recent_.paths().value(Index);
    if (directory.isEmpty())
        return;
    const bool entered = browser_.enterDirectory(directory);
    // Entered, it may be spelt otherwise now (its letter case resolved).
    if (!entered || context_.state.DataDir != directory)
        forget(directory);
    if (entered)
        record(context_.state.DataDir);
}

void RecentMenu::showList()
{
    const QStringList& paths = recent_.paths();
    for (qsizetype i = 0; i < RecentDirectories::kMaximum; ++i) {
        QAction* item = items_.mnuRecent.at(static_cast<size_t>(i));
        if (i < paths.size())
            item->setText(recentCaption(i, paths.at(i)));
        item->setVisible(i < paths.size());
    }
    items_.mnuRecentBar->setVisible(!paths.isEmpty());
}

} // namespace kadrix
