#pragma once

#include "core/TrialCommands.h"

#include <QObject>
#include <QPointer>

#include <array>

class QAction;

namespace kadrix {

struct HandlerContext;
class Browser;
class ConversionBatch;
class ConversionProgress;
class FileMenu;
class Launcher;

// The items of the "&Data" menu and its "&Convert data ..." submenus.
struct DataMenuItems {
    std::array<QAction*, 5> mnuDatafile{};
    std::array<QAction*, 10> mnuArielType{};
    std::array<QAction*, 7> mnuConvert{};
};

// The "&Data" menu, its "&Convert data ..." submenu and "Run &Xfer2DG".
// Items are enabled as their menu opens, from the trial's files on the disk.
// With several convertible files selected, "Run &Xfer2DG" converts them one
// after another.
class DataMenu final : public QObject {
    Q_OBJECT

public:
    // The "&Convert data ..." item that animates the trial's .cda file.
    static constexpr int kCdaItem = 3;
    static constexpr int kAsciiTextItem = 5;
    static constexpr int kViconItem = 6;

    DataMenu(HandlerContext& context, DataMenuItems& items, Browser& browser, Launcher& launcher,
             FileMenu& fileMenu, QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(DataMenu)

    void mnuDatafiles_Click();
    void mnuDatafile_Click(int Index);
    void mnuConverts_Click();
    void mnuAriel_Click();
    void mnuArielType_Click(int Index);
    void mnuConvert_Click(int Index);
    void cmdConvert_Click();

Q_SIGNALS:
    // What the trial's files on the disk offer of the trial's commands.
    void commandsOffered(const TrialCommands& commands);

private:
    bool trialHas(const QString& extension) const;
    void selectDigitizedData();
    void selectFromFreshLists();
    void refineData();
    void animateData();
    void editData();
    void renumberData();
    void convertSeveral(const QStringList& files);

    HandlerContext& context_;
    DataMenuItems& items_;
    Browser& browser_;
    Launcher& launcher_;
    FileMenu& fileMenu_;
    // The run over several files, and its window, while either lasts.
    QPointer<ConversionBatch> batch_;
    QPointer<ConversionProgress> progress_;
};

} // namespace kadrix
