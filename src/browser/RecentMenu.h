#pragma once

#include "core/RecentDirectories.h"

#include <QObject>

#include <array>

class QAction;

namespace kadrix {

struct HandlerContext;
class Browser;

// The "&File" menu's list of recent data directories: eight items, hidden
// while unused, and the separator below them, hidden while none is shown.
struct RecentMenuItems {
    std::array<QAction*, RecentDirectories::kMaximum> mnuRecent{};
    QAction* mnuRecentBar = nullptr;
};

// The data directories the user last worked in, kept in the settings and
// offered in the "&File" menu. The items are set when the list changes, so
// opening the menu asks nothing of the disk; a directory that has gone, or
// whose drive does not answer, is found out when it is chosen, reported as
// the browser reports it, and taken off the list.
class RecentMenu final : public QObject {
    Q_OBJECT

public:
    RecentMenu(HandlerContext& context, RecentMenuItems& items, Browser& browser,
               QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(RecentMenu)

    const QStringList& paths() const { return recent_.paths(); }
    void load();
    void save();
    // Puts a directory the user went to first on the list.
    void record(const QString& directory);
    void forget(const QString& directory);
    void mnuRecent_Click(int Index);

private:
    void showList();

    HandlerContext& context_;
    RecentMenuItems& items_;
    Browser& browser_;
    RecentDirectories recent_;
};

} // namespace kadrix
