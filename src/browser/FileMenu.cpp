#include "browser/FileMenu.h"

namespace kadrix {

FileMenu::FileMenu(MainContext& context, Browser& browser, QObject* parent)
    : QObject(parent)
    , context_(context)
    , browser_(browser)
{}

void FileMenu::mnuFiles_Click() {}
void FileMenu::mnuOpen_Click(int /*Index*/) {}
void FileMenu::mnuPrint_Click() {}
void FileMenu::mnnPrintSetup_Click() {}

} // namespace kadrix
