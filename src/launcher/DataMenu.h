#pragma once

#include <QObject>

namespace kadrix {

struct MainContext;
class Browser;
class FileMenu;
class Launcher;

// The "&Data" menu, its "&Convert data ..." submenu and "Run &Xfer2DG".
// Items are enabled as their menu opens, from the trial's files on the disk.
class DataMenu final : public QObject {
    Q_OBJECT

public:
    // The "&Convert data ..." item that animates the trial's .cda file.
    static constexpr int kCdaItem = 3;
    static constexpr int kAsciiTextItem = 5;
    static constexpr int kViconItem = 6;

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
    bool trialHas(const QString& extension) const;
    void selectDigitizedData();
    void selectFromFreshLists();
    void refineData();
    void animateData();
    void editData();
    void renumberData();
    void choose(const QString& program);

    MainContext& context_;
    Browser& browser_;
    Launcher& launcher_;
    FileMenu& fileMenu_;
};

} // namespace kadrix
