#pragma once

#include <QObject>

namespace kadrix {

struct MainContext;
class Browser;
class FileMenu;
class Launcher;

// The "&Data" menu, its "&Convert data ..." submenu and "Run &Xfer2DG".
class DataMenu final : public QObject {
    Q_OBJECT

public:
    DataMenu(MainContext& context, Browser& browser, Launcher& launcher, FileMenu& fileMenu,
             QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(DataMenu)

    void mnuDatafiles_Click();
    void mnuDatafile_Click(int Index);
    void mnuConverts_Click();
    void mnuAriel_Click();
    void mnuArielType_Click(int Index);
    void mnuConvert_Click(int Index);
    void cmdConvert_Click();

private:
    MainContext& context_;
    Browser& browser_;
    Launcher& launcher_;
    FileMenu& fileMenu_;
};

} // namespace kadrix
