#include "MainWindowHarness.h"

#include "TestFiles.h"
#include "browser/Browser.h"
#include "browser/DirectoryReader.h"
#include "core/Settings.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QTest>

namespace kadrix::test {

MainWindowHarness::MainWindowHarness(Starter* realStarter)
    : host{messages, realStarter ? *realStarter : starter, settings}
    , savedCurrentDirectory_(QDir::currentPath())
{
    const QString base = QDir(root.path()).canonicalPath();
    dataDir = base + QStringLiteral("/data");
    progDir = base + QStringLiteral("/prog");
    exeDir = base + QStringLiteral("/exe");
    makeDirectory(dataDir);
    makeDirectory(exeDir);
    writeFile(progDir + QStringLiteral("/Kadrix.exe"), "stand-in");
    setSetting(kDataDirKey, dataDir);
    setSetting(kProgDirKey, progDir);
}

MainWindowHarness::~MainWindowHarness()
{
    window_.reset();
    QDir::setCurrent(savedCurrentDirectory_);
}

QString MainWindowHarness::path(const QString& relative) const
{
    return QDir(root.path()).canonicalPath() + QLatin1Char('/') + relative;
}

QString MainWindowHarness::dataFile(const QString& name) const
{
    return dataDir + QLatin1Char('/') + name;
}

void MainWindowHarness::addDataFile(const QString& name, const QByteArray& contents)
{
    writeFile(dataFile(name), contents);
}

void MainWindowHarness::setSetting(const QString& key, const QString& value)
{
    settings.values.insert(FakeSettingsStore::keyOf(kSettingsApplication, kSettingsSection, key),
                           value);
}

void MainWindowHarness::selectTrial(const QString& name, const QString& extension)
{
    state().TrialName = name;
    state().TrialExt = extension;
}

void MainWindowHarness::clearSettings()
{
    settings.values.clear();
}

frmKadrix& MainWindowHarness::start(const QString& argumentText)
{
    window_ = std::make_unique<frmKadrix>(
        host, frmKadrix::LaunchInfo{argumentText, exeDir, version, std::chrono::milliseconds(0)});
    window_->Form_Load();
    if (!window_->isUnloaded())
        window_->show();
    waitForLists();
    return *window_;
}

bool MainWindowHarness::waitForLists()
{
    const bool idle =
        QTest::qWaitFor([this] { return !window_->browser().reader().isBusy(); }, 10000);
    // The lists take the last listing in events of their own.
    QCoreApplication::sendPostedEvents();
    return idle;
}

QObject* MainWindowHarness::control(const QString& caption) const
{
    QObjectList found;
    for (QObject* object : window_->findChildren<QObject*>()) {
        if ((qobject_cast<QAction*>(object) || qobject_cast<QAbstractButton*>(object)) &&
            object->property("text") == caption)
            found.append(object);
    }
    return found.size() == 1 ? found.front() : nullptr;
}

} // namespace kadrix::test
