#include "launcher/DataMenu.h"

namespace kadrix {

DataMenu::DataMenu(MainContext& context, Browser& browser, Launcher& launcher, FileMenu& fileMenu,
                   QObject* parent)
    : QObject(parent)
    , context_(context)
    , browser_(browser)
    , launcher_(launcher)
    , fileMenu_(fileMenu)
{}

void DataMenu::mnuDatafiles_Click() {}
void DataMenu::mnuDatafile_Click(int /*Index*/) {}
void DataMenu::mnuConverts_Click() {}
void DataMenu::mnuAriel_Click() {}
void DataMenu::mnuArielType_Click(int /*Index*/) {}
void DataMenu::mnuConvert_Click(int /*Index*/) {}
void DataMenu::cmdConvert_Click() {}

} // namespace kadrix
