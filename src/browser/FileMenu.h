#pragma once

#include <QObject>

#include <array>

class QAction;

namespace kadrix {

struct HandlerContext;
class Browser;

// The "&File" menu's housekeeping items.
struct FileMenuItems {
    std::array<QAction*, 4> mnuOpen{};
};

// The housekeeping of the "&File" menu: opening, creating and removing
// directories, deleting the selected file, printing and printer set-up.
class FileMenu final : public QObject {
    Q_OBJECT

public:
    FileMenu(HandlerContext& context, FileMenuItems& items, Browser& browser,
             QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(FileMenu)

    void mnuFiles_Click();
    void mnuOpen_Click(int Index);
    void mnuPrint_Click();
    void mnnPrintSetup_Click();

private:
    void showBrowserLists();
    void createDirectory();
    void removeCurrentDirectory();
    void deleteSelectedFile();

    HandlerContext& context_;
    FileMenuItems& items_;
    Browser& browser_;
};

} // namespace kadrix
