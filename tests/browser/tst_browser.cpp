// The main window's browser: trial selection by mouse and keyboard, button
// and menu states, filters, directory changes, lists that follow the disk,
// the reader behind them and the browser's messages.

#include "Clicks.h"
#include "HostFiles.h"
#include "MainWindowHarness.h"
#include "SilentDirectories.h"
#include "TestFiles.h"
#include "browser/Browser.h"
#include "browser/DirectoryList.h"
#include "browser/DirectoryReader.h"
#include "browser/DriveList.h"
#include "browser/FileList.h"
#include "classic/CaptionButton.h"
#include "classic/CaptionCheckBox.h"
#include "core/Settings.h"
#include "platform/NativeFiles.h"
#include "platform/NativeNames.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <atomic>
#include <memory>

using namespace kadrix;
using namespace kadrix::test;

namespace {

// The enabled states of "&Edit && convert", "&View and edit", "&Animate
// only", "Run &Xfer2DG", "&Options", "&Xfer2ACD" and "&Xfer2DG", in that
// order, as "+" (on) and "-" (off).
QString states(const MainControls& ui)
{
    QString text;
    for (const bool on :
         {ui.cmdView->isEnabled(), ui.cmdEdit->isEnabled(), ui.cmdAnimate->isEnabled(),
          ui.cmdConvert->isEnabled(), ui.cmdOptions->isEnabled(), ui.mnuProgram[1]->isEnabled(),
          ui.mnuProgram[2]->isEnabled()})
        text += on ? QLatin1Char('+') : QLatin1Char('-');
    return text;
}

} // namespace

class BrowserTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clickSelectsTheTrial_data();
    void clickSelectsTheTrial();
    void emptyListsTellTheUser();
    void directoryListOpensEntries();
    void namesThatAreNoUtf8StayTheirOwn();
    void filters_data();
    void filters();
    void listsFollowTheDisk();
    void readerServesTheNewestRequest();
    void changesDuringAndAfterReadingAreListed_data();
    void changesDuringAndAfterReadingAreListed();
    void aSilentDirectoryHoldsNoOtherList();
    void directoryProblems_data();
    void directoryProblems();
};

void BrowserTest::clickSelectsTheTrial_data()
{
    // clang-format off
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("key"); // 0: a click; -1: then Ctrl+click on it
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");

    QTest::newRow("run1.dg") << "run1.dg" << 0 << "run1" << "DG";
    QTest::newRow("two dots") << "walk.fast.dg" << 0 << "walk.fast" << "DG";
    QTest::newRow("upper-case name") << "JUMP.3D" << 0 << "JUMP" << "3D";
    QTest::newRow("shell characters") << "a b;$(x)'q'.km" << 0 << "a b;$(x)'q'" << "KM";
    QTest::newRow("Ctrl+click on the selected file") << "run1.dg" << -1 << "run1" << "DG";
    for (const int key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Down, Qt::Key_Up})
        QTest::addRow("key %x", key) << "run1.dg" << key << "run1" << "DG";
    QTest::newRow("convertible, after a data file") << "walk.csv" << 0 << "walk" << "CSV";
    // clang-format on
}

void BrowserTest::clickSelectsTheTrial()
{
    QFETCH(QString, file);
    QFETCH(int, key);
    QFETCH(QString, name);
    QFETCH(QString, extension);
    MainWindowHarness harness;
    harness.addDataFile(file);
    const bool convertible = extension == QLatin1String("CSV");
    if (convertible)
        harness.addDataFile(QStringLiteral("run1.dg"));
    harness.start();
    FileList* list = convertible ? harness.ui().filConverts : harness.ui().filDatafiles;
    if (convertible)
        clickFile(harness.ui().filDatafiles, QStringLiteral("run1.dg"));
    const QModelIndex first = list->model()->index(0, 0);
    if (key > 0) {
        // The list took the focus: its only row is current, not selected.
        list->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        QTest::keyClick(list, Qt::Key(key));
    } else {
        clickFile(list, file);
    }
    if (key < 0)
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualRect(first).center());
    QCOMPARE(harness.state().TrialPath, convertible ? QStringLiteral("run1.dg") : file);
    QCOMPARE(harness.state().TrialName, name);
    QCOMPARE(harness.state().TrialExt, extension);
    QCOMPARE(harness.ui().lblTrial->text(),
             QStringLiteral("Selected file: ") + name.toUpper() + QLatin1Char('.') + extension);
    QCOMPARE(states(harness.ui()), convertible ? QStringLiteral("---++-+") : "+++-++-");
    QVERIFY(!harness.window().TestTrial()); // any trial counts
    QVERIFY(harness.messages.boxes.empty());
}

void BrowserTest::emptyListsTellTheUser()
{
    MainWindowHarness harness;
    harness.start();
    clickEmptyList(harness.ui().filDatafiles);
    // The buttons follow the list all the same; "&Options" needs a file.
    QCOMPARE(states(harness.ui()), QStringLiteral("+++--+-"));
    clickEmptyList(harness.ui().filConverts);
    QCOMPARE(states(harness.ui()), QStringLiteral("---+--+"));
    QVERIFY(harness.window().TestTrial());
    QCOMPARE(harness.messages.texts(),
             (QStringList{"No data files (.DG etc.) in this subdirectory.",
                          "No recognizable data files in this subdirectory.",
                          "Select a trial from the Data or Conversion menus first."}));
    QCOMPARE(harness.messages.boxes.at(1).icon, MessageIcon::Critical);
    QCOMPARE(harness.messages.boxes.back().icon, MessageIcon::Question);
}

void BrowserTest::directoryListOpensEntries()
{
    MainWindowHarness harness;
    for (const char* name : {"Beta/x", "alpha/jump.dg", ".hidden/x", "walk1.dg", "walk.csv"})
        harness.addDataFile(QString::fromLatin1(name));
    harness.start();
    clickFile(harness.ui().filConverts, QStringLiteral("walk.csv"));
    clickFile(harness.ui().filDatafiles, QStringLiteral("walk1.dg"));
    DirectoryList* list = harness.ui().dirSelect;
    const int current = list->currentDirectoryRow();
    QCOMPARE(list->entryLabels().first(), QDir::toNativeSeparators(QDir::rootPath()));
    QCOMPARE(list->entryLabels().mid(current), (QStringList{"data", "alpha", "Beta"}));

    // A click only selects; a double-click opens a subdirectory, also when
    // the list was refreshed between its two clicks.
    const QPoint alpha = list->visualRect(list->model()->index(current + 1, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, alpha);
    QCOMPARE(harness.state().DataDir, harness.dataDir);
    makeDirectory(harness.dataFile(QStringLiteral("gamma")));
    harness.ui().cmdRefresh->click();
    QVERIFY(harness.waitForLists());
    QCOMPARE(list->entryLabels().mid(current), (QStringList{"data", "alpha", "Beta", "gamma"}));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, alpha);
    QVERIFY(harness.waitForLists());
    const QString sub = harness.dataFile(QStringLiteral("alpha"));
    QCOMPARE(harness.state().DataDir, sub);
    QCOMPARE(QDir::currentPath(), sub);
    QVERIFY(harness.state().TrialName.isEmpty() && harness.state().TrialExt.isEmpty());
    QCOMPARE(harness.state().TrialPath, QStringLiteral("walk1.dg"));
    QCOMPARE(harness.ui().lblTrial->text(), QStringLiteral("Selected file:"));
    QCOMPARE(harness.ui().lblPath->text(),
             QStringLiteral("Current path:\n") + QDir::toNativeSeparators(sub.toLower()));
    QCOMPARE(harness.ui().filDatafiles->names(), QStringList{"jump.dg"});
    // "&View and edit" and "Run &Xfer2DG" keep their states.
    QCOMPARE(states(harness.ui()), QStringLiteral("-+---+-"));

    // Enter opens an ancestor.
    list->setCurrentIndex(list->model()->index(list->currentDirectoryRow() - 1, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(harness.state().DataDir, harness.dataDir);
    QCOMPARE(harness.ui().drvDrives->currentDirectoryOf(harness.ui().drvDrives->drive()),
             harness.dataDir);
}

// Names copied from old media in a Windows code page: each keeps its bytes
// from the list to the start and the directory entered, shows its odd bytes,
// and never becomes the name it would read as once decoded.
void BrowserTest::namesThatAreNoUtf8StayTheirOwn()
{
    if (!namesMayBeAnyBytes())
        QSKIP(kNamesAreUtf16);
    MainWindowHarness harness;
    const QString odd = decodeNativeName("a\xff.dg");
    const QString lookalike = QStringLiteral("a\uFFFD.dg");
    const QString sub = decodeNativeName("M\xfcller");
    for (const QString& name : {odd, lookalike, sub + QStringLiteral("/walk1.dg")})
        harness.addDataFile(name);
    harness.start();
    FileList* files = harness.ui().filDatafiles;
    QCOMPARE(files->names(), (QStringList{odd, lookalike}));
    QCOMPARE(files->model()->index(0, 0).data().toString(), QStringLiteral("a\\xFF.dg"));

    clickFile(files, odd);
    QCOMPARE(harness.state().TrialPath, odd);
    QCOMPARE(harness.ui().lblTrial->text(), QStringLiteral("Selected file: A\\xFF.DG"));
    harness.ui().cmdAnimate->click();
    QCOMPARE(harness.starter.last().arguments.last(), odd);

    DirectoryList* list = harness.ui().dirSelect;
    const int row = static_cast<int>(list->entryLabels().indexOf(QStringLiteral("M\\xFCller")));
    QVERIFY(row > 0);
    QVERIFY(!list->openEntry(row));
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.state().DataDir, harness.dataFile(sub));
    QCOMPARE(currentDirectory(), harness.dataFile(sub));
    QCOMPARE(files->names(), QStringList{"walk1.dg"});
    QVERIFY(harness.messages.boxes.empty());
}

void BrowserTest::filters_data()
{
    // clang-format off
    QTest::addColumn<bool>("readOnlyTypes");
    QTest::addColumn<int>("option");
    QTest::addColumn<QStringList>("dataFiles");
    QTest::addColumn<QStringList>("convertible");

    const QStringList withReadOnly{"a.dg", "b.3D", "c.cn", "d.sn", "e.km", "f.1t", "g.odg", "h.cda"};
    const QStringList withoutReadOnly{"a.dg", "f.1t", "g.odg", "h.cda"};
    QTest::newRow("All image files") << true << 0 << withReadOnly << QStringList{"m.csv", "n.TXT", "o.xyz", "p.Dat"};
    QTest::newRow("Exclude .TXT") << true << 1 << withReadOnly << QStringList{"m.csv", "o.xyz", "p.Dat"};
    QTest::newRow("Only .CSV files") << false << 2 << withoutReadOnly << QStringList{"m.csv"};
    QTest::newRow("All files") << false << 3 << withoutReadOnly
        << QStringList{"a.dg", "b.3D", "c.cn", "d.sn", "dg", "e.km", "f.1t", "g.odg", "h.cda", "m.csv", "n.TXT", "o.xyz", "p.Dat", "q.dg.bak", "README"};
    // clang-format on
}

void BrowserTest::filters()
{
    QFETCH(bool, readOnlyTypes);
    QFETCH(int, option);
    QFETCH(QStringList, dataFiles);
    QFETCH(QStringList, convertible);
    MainWindowHarness harness;
    for (const char* name :
         {"a.dg", "b.3D", "c.cn", "d.sn", "e.km", "f.1t", "g.odg", "h.cda", "m.csv", "n.TXT",
          "o.xyz", "p.Dat", "README", ".hidden.dg", "dg", "q.dg.bak"})
        harness.addDataFile(QString::fromLatin1(name));
    makeDirectory(harness.dataFile(QStringLiteral("sub.dg"))); // never a file
    harness.start();
    clickFile(harness.ui().filDatafiles, QStringLiteral("e.km"));

    harness.ui().chkAll->setChecked(readOnlyTypes);
    harness.ui().optConvert.at(static_cast<size_t>(option))->setChecked(true);
    QVERIFY(harness.waitForLists());
    QCOMPARE(harness.ui().filDatafiles->names(), dataFiles);
    QCOMPARE(harness.ui().filConverts->names(), convertible);
    // A filter never touches the trial, listed or not.
    QCOMPARE(harness.state().TrialName, QStringLiteral("e"));
}

void BrowserTest::listsFollowTheDisk()
{
    MainWindowHarness harness;
    for (const char* name : {"walk1.dg", "gone.dg"})
        harness.addDataFile(QString::fromLatin1(name));
    harness.start();
    harness.setSetting(kDataDirKey, QStringLiteral("/elsewhere"));
    FileList* list = harness.ui().filDatafiles;
    clickFile(list, QStringLiteral("walk1.dg"));
    QVERIFY(harness.waitForLists());
    DirectoryReader& reader = harness.window().browser().reader();
    QSignalSpy listed(&reader, &DirectoryReader::listed);
    // Nothing changed: getting the focus back reads nothing.
    harness.window().Form_GotFocus();
    QCoreApplication::processEvents();
    QVERIFY(!reader.isBusy() && listed.isEmpty());
    // One reading serves all the lists.
    harness.ui().cmdRefresh->click();
    QVERIFY(harness.waitForLists());
    QCOMPARE(listed.size(), 1);

    // Another program changes the directory between the two clicks of a
    // double-click; the lists follow and the double-click still counts.
    QVERIFY(
        runShellCommand(harness.dataDir, QStringLiteral("touch new.dg walk.csv && rm gone.dg"),
                        QStringLiteral("type nul > new.dg && type nul > walk.csv && del gone.dg")));
    QTRY_COMPARE(list->names(), (QStringList{"new.dg", "walk1.dg"}));
    QTRY_COMPARE(harness.ui().filConverts->names(), QStringList{"walk.csv"});
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualRect(list->model()->index(1, 0)).center());
    QCOMPARE(harness.starter.requests.size(), size_t(1));
    QCOMPARE(harness.settings.getSetting(kSettingsApplication, kSettingsSection, kDataDirKey, {}),
             harness.dataDir);
    QVERIFY(harness.ui().cmdOptions->isEnabled());

    // The trial stays selected when its file goes, as after any refresh;
    // a burst of ten thousand new files is read a few times, not per file.
    listed.clear();
    QVERIFY(runShellCommand(
        harness.dataDir,
        QStringLiteral("mv walk1.dg renamed.dg && i=0 && while [ $i -lt 10000 ]; do : > f$i.csv; "
                       "i=$((i+1)); done"),
        QStringLiteral(
            "move walk1.dg renamed.dg && for /L %i in (0,1,9999) do @type nul > f%i.csv")));
    QTRY_COMPARE(harness.ui().filConverts->listCount(), 10001);
    QTRY_COMPARE(list->names(), (QStringList{"new.dg", "renamed.dg"}));
    QVERIFY2(listed.size() < 100, qPrintable(QString::number(listed.size())));
    QCOMPARE(harness.state().TrialName, QStringLiteral("walk1"));
    QCOMPARE(states(harness.ui()), QStringLiteral("+++-++-"));
}

void BrowserTest::readerServesTheNewestRequest()
{
    QTemporaryDir root;
    writeFile(root.filePath(QStringLiteral("one/a.dg")));
    writeFile(root.filePath(QStringLiteral("two/b.dg")));
    DirectoryReader reader;
    reader.addPattern(QStringLiteral("*.*"));
    const auto files = [](const DirectoryListing& listing) { return listing.matching.at(0).names; };
    reader.read(root.filePath(QStringLiteral("one")));
    QTest::qWait(0); // the first read starts
    reader.read(root.filePath(QStringLiteral("two")));
    QTRY_VERIFY(!reader.isBusy());
    QCOMPARE(files(reader.lastListing()), QStringList{"b.dg"});
    // A handler that goes on after a reading sees what was there when it
    // asked, not a reading already under way; one that asked for a
    // directory left since is dropped.
    QStringList seen;
    const auto note = [&](const DirectoryListing& listing) { seen.append(files(listing)); };
    reader.read(root.filePath(QStringLiteral("two")));
    QTest::qWait(0);
    writeFile(root.filePath(QStringLiteral("two/c.dg")));
    reader.readThen(root.filePath(QStringLiteral("two")), note);
    reader.readThen(root.filePath(QStringLiteral("one")), note);
    reader.read(root.filePath(QStringLiteral("two")));
    QTRY_VERIFY(!reader.isBusy());
    QCOMPARE(seen, (QStringList{"b.dg", "c.dg"}));
    QCOMPARE(files(reader.lastListing()), (QStringList{"b.dg", "c.dg"}));
}

void BrowserTest::changesDuringAndAfterReadingAreListed_data()
{
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<int>("madeWhileRead"); // files written once the first reading has read all
    QTest::addColumn<int>("madeAfter");     // and once the listing is shown

    QTest::newRow("files written during the first reading") << QByteArray("sub") << 50 << 0;
    QTest::newRow("a directory whose name is no UTF-8") << QByteArray("caf\xe9") << 0 << 1;
}

// The watch on a directory starts before its first name is read, and is
// kept on the directory's own bytes: a lookalike beside it is another one.
void BrowserTest::changesDuringAndAfterReadingAreListed()
{
    QFETCH(QByteArray, directory);
    QFETCH(int, madeWhileRead);
    QFETCH(int, madeAfter);
    if (directory == "caf\xe9" && !namesMayBeAnyBytes())
        QSKIP(kNamesAreUtf16);
    MainWindowHarness harness;
    const QString sub = harness.dataFile(decodeNativeName(directory));
    harness.addDataFile(decodeNativeName(directory) + QStringLiteral("/a.dg"));
    makeDirectory(harness.dataFile(QStringLiteral("caf\uFFFD")));
    harness.start();
    const auto make = [sub](int count) {
        for (int i = 0; i < count; ++i)
            writeFile(sub + QStringLiteral("/new%1.dg").arg(i));
    };
    auto started = std::make_shared<std::atomic<bool>>(false);
    harness.window().browser().reader().setEntryHook(
        [=](const QString& path, std::string_view name) {
            if (path == sub && name.empty() && !started->exchange(true))
                make(madeWhileRead);
        });
    QVERIFY(!harness.ui().dirSelect->setPath(sub));
    QVERIFY(harness.waitForLists());
    make(madeAfter);
    const int expected = 1 + madeWhileRead + madeAfter;
    QTRY_COMPARE_WITH_TIMEOUT(harness.ui().filDatafiles->listCount(), expected, 10000);
}

// A directory whose reading never ends (a share whose server has stopped
// answering) is shown as not answering; the lists go on with the next
// directory chosen.
void BrowserTest::aSilentDirectoryHoldsNoOtherList()
{
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("silent/walk1.dg"));
    harness.addDataFile(QStringLiteral("local/jump.dg"));
    harness.start();
    SilentDirectories silent(harness.window().browser().reader());
    DirectoryList* list = harness.ui().dirSelect;
    QVERIFY(!list->setPath(harness.dataFile(QStringLiteral("silent"))));
    QTRY_COMPARE_WITH_TIMEOUT(list->entryLabels().last(), QStringLiteral("silent  (not answering)"),
                              10000);
    QVERIFY(harness.ui().filDatafiles->names().isEmpty());
    QVERIFY(!list->setPath(harness.dataFile(QStringLiteral("local"))));
    QTRY_COMPARE_WITH_TIMEOUT(harness.ui().filDatafiles->names(), QStringList{"jump.dg"}, 10000);
    QCOMPARE(list->entryLabels().last(), QStringLiteral("local"));
    QVERIFY(harness.messages.boxes.empty());
}

void BrowserTest::directoryProblems_data()
{
    // clang-format off
    QTest::addColumn<int>("before"); // the owner's permissions on sub/ when it is opened
    QTest::addColumn<int>("after"); // and later; -1 to remove it
    QTest::addColumn<bool>("entered");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("error");

    QTest::newRow("cannot be entered") << 0x4000 << 0 << false << QStringList{"walk1.dg"} << "Permission denied";
    QTest::newRow("entered, not readable") << 0x1000 << 0 << true << QStringList{} << "Permission denied";
    QTest::newRow("vanishes while shown") << 0x7000 << -1 << true << QStringList{} << "Path not found";
    QTest::newRow("made read-only while shown") << 0x7000 << 0x5000 << true << QStringList{"jump.dg"} << "";
    // clang-format on
}

void BrowserTest::directoryProblems()
{
    QFETCH(int, before);
    QFETCH(int, after);
    QFETCH(bool, entered);
    QFETCH(QStringList, listed);
    QFETCH(QString, error);
    if (before != 0x7000 && !permissionsAreEnforced())
        QSKIP("directory permissions do not stop this user");
    if (after < 0 && !currentDirectoryCanBeRemoved())
        QSKIP(kCurrentDirectoryStays);
    if (after > 0 && underWine())
        QSKIP("Wine 8.0 keeps no read-only attribute on a directory: no change to notice");
    MainWindowHarness harness;
    harness.addDataFile(QStringLiteral("walk1.dg"));
    harness.addDataFile(QStringLiteral("sub/jump.dg"));
    const QString sub = harness.dataFile(QStringLiteral("sub"));
    QFile::setPermissions(sub, QFileDevice::Permissions(before));
    harness.start();
    QSignalSpy listings(&harness.window().browser().reader(), &DirectoryReader::listed);

    harness.ui().dirSelect->setPath(sub);
    QVERIFY(harness.waitForLists());
    if (after != 0) {
        QVERIFY(after < 0 ? QDir(sub).removeRecursively()
                          : QFile::setPermissions(sub, QFileDevice::Permissions(after)));
        QVERIFY(listings.wait() && harness.waitForLists());
    }
    QCOMPARE(harness.state().DataDir, entered ? sub : harness.dataDir);
    QCOMPARE(harness.ui().filDatafiles->names(), listed);
    const QString message = QStringLiteral("There was a problem finding a path. Error was ");
    QCOMPARE(harness.messages.texts(),
             error.isEmpty() ? QStringList() : QStringList{message + error});
    QFile::setPermissions(sub, QFileDevice::Permissions(0x7000));
}

QTEST_MAIN(BrowserTest)
#include "tst_browser.moc"
