#pragma once

#include <QObject>

namespace kadrix {

struct MainContext;
class Browser;

// The housekeeping of the "&File" menu: opening, creating and removing
// directories, deleting the selected file, printing and printer set-up.
class FileMenu final : public QObject {
    Q_OBJECT

public:
    FileMenu(MainContext& context, Browser& browser, QObject* parent = nullptr);
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

    MainContext& context_;
    Browser& browser_;
};

} // namespace kadrix
