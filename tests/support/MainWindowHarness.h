#pragma once

#include "FakeMessages.h"
#include "FakeSettingsStore.h"
#include "FakeStarter.h"
#include "app/frmKadrix.h"
#include "platform/Host.h"

#include <QTemporaryDir>

#include <memory>

namespace kadrix::test {

// The main window built offscreen with fake host parts, over real
// temporary directories: data/ (the data directory), prog/ (a program
// directory holding Kadrix.exe) and exe/ (the executable's directory). By
// default the settings point Datadir and Progdir at data/ and prog/. The
// process's current directory is restored when the harness goes.
class MainWindowHarness {
public:
    // Starts go to `realStarter` when given, else to the fake `starter`.
    explicit MainWindowHarness(Starter* realStarter = nullptr);
    ~MainWindowHarness();
    MainWindowHarness(const MainWindowHarness&) = delete;
    MainWindowHarness& operator=(const MainWindowHarness&) = delete;

    QString path(const QString& relative) const;
    QString dataFile(const QString& name) const;
    void addDataFile(const QString& name, const QByteArray& contents = "x\r\n");
    void setSetting(const QString& key, const QString& value);
    void clearSettings();
    // Makes `name` with `extension` the current trial, as a click would.
    void selectTrial(const QString& name, const QString& extension);

    // Builds the window and runs its start-up with the given argument text.
    frmKadrix& start(const QString& argumentText = {});
    // Waits until the browser's lists show what the disk holds.
    bool waitForLists();

    // The one button or menu item with `caption`, or null when not just one.
    QObject* control(const QString& caption) const;

    frmKadrix& window() { return *window_; }
    AppState& state() { return window_->state(); }
    MainControls& ui() { return window_->controls(); }

    QTemporaryDir root;
    QString dataDir;
    QString progDir;
    QString exeDir;
    FakeMessages messages;
    FakeStarter starter;
    FakeSettingsStore settings;
    Host host;
    ProgramVersion version{1, 6, 5};

private:
    QString savedCurrentDirectory_;
    std::unique_ptr<frmKadrix> window_;
};

} // namespace kadrix::test
