#include "browser/FileMenu.h"

#include "browser/Browser.h"
#include "browser/BrowserPanel.h"
#include "browser/DirectoryList.h"
#include "browser/DriveList.h"
#include "browser/FileList.h"
#include "browser/Housekeeping.h"
#include "core/AppState.h"
#include "core/HandlerContext.h"
#include "core/StartRequests.h"
#include "platform/FileErrors.h"
#include "platform/Host.h"
#include "platform/Messages.h"
#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"
#include "platform/Starter.h"

#include <QAction>
#include <QDir>
#include <QLabel>

namespace kadrix {

FileMenu::FileMenu(HandlerContext& context, FileMenuItems& items, Browser& browser, QObject* parent)
    : QObject(parent)
    , context_(context)
    , items_(items)
    , browser_(browser)
{}

void FileMenu::mnuFiles_Click()
{
    items_.mnuOpen[3]->setEnabled(!context_.state.TrialPath.isEmpty());
}

void FileMenu::mnuOpen_Click(int Index)
{
    showBrowserLists();
    switch (Index) {
    case 1:
        createDirectory();
        break;
    case 2:
        removeCurrentDirectory();
        break;
    case 3:
        deleteSelectedFile();
        break;
    default:
        break; // "&Open a directory": the user picks it in the browser
    }
}

void FileMenu::showBrowserLists()
{
    browser_.panel().drvDrives->setVisible(true);
    browser_.panel().dirSelect->setVisible(true);
    browser_.panel().filDatafiles->setVisible(true);
    browser_.panel().lblDatafiles->setVisible(true);
}

void FileMenu::createDirectory()
{
    const AppState& state = context_.state;
    Messages& messages = context_.host.messages;
    const QString name =
        messages.inputBox({QStringLiteral("Enter subdirectory name for directory, ") +
                               lowerCased(state.DataDir) + QStringLiteral(", or press Cancel"),
                           QStringLiteral("Make a subdirectory."), QString()});
    if (name.isEmpty())
        return;
    const QString failure = createSubdirectory(state.DataDir, name);
    if (!failure.isEmpty()) {
        messages.showMessage(
            {failure, kApplicationTitle, MessageButtons::Ok, MessageIcon::Exclamation});
        return;
    }
    browser_.panel().dirSelect->refresh();
}

void FileMenu::removeCurrentDirectory()
{
    AppState& state = context_.state;
    Messages& messages = context_.host.messages;
    const MessageAnswer answer = messages.showMessage(
        {QStringLiteral("Do you want to remove the current directory, ") +
             lowerCased(state.DataDir) + QStringLiteral("?\nNote, it must be empty of files."),
         QStringLiteral("Remove directory"), MessageButtons::YesNo, MessageIcon::Question});
    if (answer != MessageAnswer::Yes)
        return;
    const QString parent = QDir::cleanPath(state.DataDir + QStringLiteral("/.."));
    changeCurrentDirectory(parent);
    if (removeDirectory(state.DataDir) != 0) {
        messages.showMessage({QStringLiteral("Directory, ") + lowerCased(state.DataDir) +
                                  QStringLiteral(", was not empty.\nIt was not removed."),
                              kApplicationTitle, MessageButtons::Ok, MessageIcon::Exclamation});
        changeCurrentDirectory(state.DataDir);
        return;
    }
    state.DataDir = currentDirectory();
    browser_.panel().dirSelect->setPath(state.DataDir);
    browser_.panel().dirSelect->refresh();
}

void FileMenu::deleteSelectedFile()
{
    AppState& state = context_.state;
    if (state.TrialPath.isEmpty())
        return;
    Messages& messages = context_.host.messages;
    const QString target = selectedFilePath(state);
    // Where the data directory has changed since the file was chosen, the
    // question names the whole path: only that file is ever deleted.
    const QString named = QDir::cleanPath(state.TrialDir) == QDir::cleanPath(state.DataDir)
                              ? state.TrialPath
                              : QDir::toNativeSeparators(target);
    const MessageAnswer answer = messages.showMessage(
        {QStringLiteral("Confirm deletion of file: '") + named + QStringLiteral("'."),
         QStringLiteral("Delete file"), MessageButtons::OkCancel, MessageIcon::Exclamation});
    if (answer != MessageAnswer::Ok)
        return;
    if (!deleteUserFile(target)) {
        messages.showMessage(
            {QStringLiteral(
                 "File could not be deleted.  It may be open, in use or write-protected."),
             QStringLiteral("Deletion Error"), MessageButtons::Ok, MessageIcon::Exclamation});
        return;
    }
    browser_.cmdRefresh_Click();
    state.TrialPath.clear();
}

void FileMenu::mnuPrint_Click()
{
    AppState& state = context_.state;
    if (state.TrialName.isEmpty()) {
        context_.host.messages.showMessage({QStringLiteral("No file was selected."),
                                            QStringLiteral("Print file"), MessageButtons::Ok,
                                            MessageIcon::Information});
        return;
    }
    state.TaskId = context_.host.starter.start(
        requests::notepadInDataDir(state, state.TrialName + QLatin1Char('.') + state.TrialExt));
}

void FileMenu::mnnPrintSetup_Click()
{
    context_.host.messages.printerSetup();
}

} // namespace kadrix
