#pragma once

#include "BenchSandbox.h"
#include "FakeMessages.h"
#include "FakeSettingsStore.h"
#include "FakeStarter.h"
#include "app/frmKadrix.h"
#include "browser/Browser.h"
#include "browser/DirectoryReader.h"
#include "core/Settings.h"
#include "platform/Host.h"

#include <QCoreApplication>

#include <memory>

// The main window over fake messages, starts and settings, on `data` and
// `prog`, shown, with its first reading of
// the data directory done.
struct BenchWindow {
    BenchWindow(const QString& data, const QString& prog)
    {
        settings.saveSetting(kadrix::kSettingsApplication, kadrix::kSettingsSection,
                             kadrix::kDataDirKey, data);
        settings.saveSetting(kadrix::kSettingsApplication, kadrix::kSettingsSection,
                             kadrix::kProgDirKey, prog);
        window = std::make_unique<kadrix::frmKadrix>(
            host, kadrix::frmKadrix::LaunchInfo{
                      QString(), prog, {1, 6, 5}, std::chrono::milliseconds(0)});
        window->Form_Load();
        window->show();
        while (window->browser().reader().isBusy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }

    kadrix::test::FakeMessages messages;
    kadrix::test::FakeStarter starter;
    kadrix::test::FakeSettingsStore settings;
    kadrix::Host host{messages, starter, settings};
    std::unique_ptr<kadrix::frmKadrix> window;
};
