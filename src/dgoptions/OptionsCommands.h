#pragma once

#include <QObject>

namespace kadrix {

struct MainContext;

// Opens the DG options dialog from the "&Options" button and the
// "&Change reference system" menu item.
class OptionsCommands final : public QObject {
    Q_OBJECT

public:
    explicit OptionsCommands(MainContext& context, QObject* parent = nullptr);
    ~OptionsCommands() override;
    Q_DISABLE_COPY_MOVE(OptionsCommands)

    void cmdOptions_Click();
    void mnuOption_Click(int Index);

    // Closes the windows these commands opened, when the program ends.
    void unloadWindows();

private:
    MainContext& context_;
};

} // namespace kadrix
