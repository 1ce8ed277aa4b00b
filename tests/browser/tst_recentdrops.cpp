// Quick ways to a directory: the recent data directories of the "&File"
// menu across restarts, and files and directories dropped on the main
// window or pasted into it.

#include "HostFiles.h"
#include "MainWindowHarness.h"
#include "SilentDirectories.h"
#include "TestFiles.h"
#include "browser/Browser.h"
#include "browser/DirectoryList.h"
#include "browser/DirectoryReader.h"
#include "browser/DriveList.h"
#include "browser/RecentMenu.h"
#include "classic/CaptionButton.h"
#include "core/RecentDirectories.h"
#include "core/Settings.h"
#include "platform/NativeNames.h"

#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

// The captions of the recent items shown, and whether their separator is.
QStringList shownRecentItems(const MainControls& ui)
{
    QStringList captions;
    for (const QAction* item : ui.mnuRecent) {
        if (item->isVisible())
            captions.append(item->text());
    }
    if (ui.mnuRecentBar->isVisible())
        captions.append(QStringLiteral("-"));
    return captions;
}

QStringList settingsKeys(const FakeSettingsStore& settings, const QString& section)
{
    QStringList keys;
    for (auto it = settings.values.cbegin(); it != settings.values.cend(); ++it) {
        if (it.key().startsWith(kSettingsApplication + QLatin1Char('/') + section +
                                QLatin1Char('/')))
            keys.append(it.key().section(QLatin1Char('/'), 2));
    }
    keys.sort();
    return keys;
}

const QString kOdd = decodeNativeName("M\xfcller");

} // namespace

class RecentDropsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recentDirectoriesAcrossRestarts_data();
    void recentDirectoriesAcrossRestarts();
    void dropsAndPastes_data();
    void dropsAndPastes();
};

void RecentDropsTest::recentDirectoriesAcrossRestarts_data()
{
    // clang-format off
    QTest::addColumn<QString>("chosen"); // under the temporary root; listed first at start-up
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("entered");
    QTest::addColumn<bool>("kept");

    QTest::newRow("local") << "trials" << "" << true << true;
    QTest::newRow("name that is no UTF-8") << kOdd << "" << true << true;
    QTest::newRow("gone") << "gone" << "There was a problem finding a path. Error was Path not found" << false << false;
    QTest::newRow("drive does not answer") << "share/trials" << "There was a drive problem.\nError was: " << false << false;
    QTest::newRow("directory does not answer") << "silent" << "" << true << false;
    // clang-format on
}

// Settings name the chosen directory and data/; the user goes to data/sub,
// then chooses the first recent item, then ends and starts again.
void RecentDropsTest::recentDirectoriesAcrossRestarts()
{
    QFETCH(QString, chosen);
    QFETCH(QString, message);
    QFETCH(bool, entered);
    QFETCH(bool, kept);
    if (chosen == kOdd && !namesMayBeAnyBytes())
        QSKIP(kNamesAreUtf16);
    MainWindowHarness harness;
    const QString target = harness.path(chosen);
    if (chosen != QLatin1String("gone"))
        writeFile(target + QStringLiteral("/walk1.dg"));
    makeDirectory(harness.dataFile(QStringLiteral("sub")));
    const auto recentKey = [](int n) {
        return FakeSettingsStore::keyOf(kSettingsApplication, kRecentSection,
                                        QStringLiteral("Dir%1").arg(n));
    };
    harness.settings.values.insert(recentKey(1), target);
    harness.settings.values.insert(recentKey(2), harness.dataDir);
    harness.start();
    // Numbered, the path shown in lower case with its odd bytes written out
    // (a long path keeps its end), and a separator under them.
    const QStringList items = shownRecentItems(harness.ui());
    QCOMPARE(items.size(), 3);
    const QString root = QDir::toNativeSeparators(QDir::rootPath()).toLower();
    QVERIFY2(items[0].startsWith("&1 " + root) &&
                 items[0].endsWith(QDir::toNativeSeparators(shownName(lowerCased(chosen)))),
             qPrintable(items[0]));
    QVERIFY2(items[1].startsWith("&2 " + root) &&
                 items[1].endsWith(QDir::toNativeSeparators(QStringLiteral("/data"))),
             qPrintable(items[1]));
    QCOMPARE(items[2], "-");

    SilentDirectories silent(harness.window().browser().reader());
    DriveList* drives = harness.ui().drvDrives;
    const QString share = harness.path(QStringLiteral("share"));
    drives->setSource([share] {
        return QList<Drive>{{QStringLiteral("/"), QStringLiteral("/")},
                            {share, share + QStringLiteral("  (not answering)"), false}};
    });
    QTRY_VERIFY_WITH_TIMEOUT(!drives->problemOf(share).isEmpty(), 10000);

    const QString sub = harness.dataFile(QStringLiteral("sub"));
    QVERIFY(!harness.ui().dirSelect->setPath(sub));
    QCOMPARE(harness.window().recentMenu().paths(), (QStringList{sub, target, harness.dataDir}));
    harness.ui().mnuRecent[1]->trigger();
    QCOMPARE(harness.state().DataDir, entered ? target : sub);
    QCOMPARE(harness.messages.boxes.size(), message.isEmpty() ? 0u : 1u);
    if (!message.isEmpty())
        QVERIFY2(harness.messages.boxes.front().text.startsWith(message),
                 qPrintable(harness.messages.boxes.front().text));
    QStringList expected{sub, harness.dataDir};
    if (kept)
        expected.prepend(target);
    QTRY_COMPARE_WITH_TIMEOUT(harness.window().recentMenu().paths(), expected, 10000);

    harness.ui().mnuExit->trigger();
    QCOMPARE(settingsKeys(harness.settings, kSettingsSection),
             (QStringList{kDataDirKey, kProgDirKey})); // nothing new where others read
    harness.start();
    QCOMPARE(harness.window().recentMenu().paths(), expected);
    QCOMPARE(encodeNativeName(harness.window().recentMenu().paths().front()),
             encodeNativeName(expected.front()));
}

void RecentDropsTest::dropsAndPastes_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QByteArray>("data"); // "%1": the directory other/, as a URL or a path
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<QString>("dataDir"); // under the temporary root
    QTest::addColumn<QString>("trial"); // TrialName.TrialExt
    QTest::addColumn<QString>("status");

    const QByteArray uris = "text/uri-list";
    QTest::newRow("data file") << uris << QByteArray("%1/run1.dg\r\n") << false << "other" << "run1.DG" << "";
    QTest::newRow("directory") << uris << QByteArray("%1/deeper/\r\n") << false << "other/deeper" << "." << "";
    QTest::newRow("name that is no UTF-8") << uris << QByteArray("%1/M%FCller.dg\r\n") << false << "other" << kOdd + ".DG" << "";
    QTest::newRow("convertible") << uris << QByteArray("%1/walk.csv") << false << "other" << "walk.CSV" << "";
    QTest::newRow("several files") << uris << QByteArray("# a comment\r\n%1/run1.dg\r\n%1/walk.csv\r\n%1/notes.pdf\r\n") << false << "other" << "run1.DG" << "3 files dropped; the first is selected.";
    QTest::newRow("type not listed") << uris << QByteArray("%1/notes.pdf") << false << "other" << "." << "notes.pdf is not selected: the file lists do not show its type (\"All files\" shows every file).";
    QTest::newRow("pasted from a file manager") << QByteArray("x-special/gnome-copied-files") << QByteArray("copy\n%1/run1.dg") << true << "other" << "run1.DG" << "";
    QTest::newRow("pasted path") << QByteArray("text/plain") << QByteArray("  '%1/run1.dg'\n") << true << "other" << "run1.DG" << "";
    QTest::newRow("pasted text") << QByteArray("text/plain") << QByteArray("run1.dg") << true << "data" << "." << "The clipboard holds no path of a file or directory.";
    // clang-format on
}

// The window starts in data/; other/ holds the files and the directory
// dropped or pasted.
void RecentDropsTest::dropsAndPastes()
{
    QFETCH(QByteArray, format);
    QFETCH(QByteArray, data);
    QFETCH(bool, pasted);
    QFETCH(QString, dataDir);
    QFETCH(QString, trial);
    QFETCH(QString, status);
    if (data.contains("%FC") && !namesMayBeAnyBytes())
        QSKIP(kNamesAreUtf16);
    MainWindowHarness harness;
    const QString other = harness.path(QStringLiteral("other"));
    for (const char* name : {"run1.dg", "walk.csv", "notes.pdf"})
        writeFile(other + QLatin1Char('/') + QLatin1String(name));
    if (namesMayBeAnyBytes())
        writeFile(other + QLatin1Char('/') + decodeNativeName("M\xfcller.dg"));
    makeDirectory(other + QStringLiteral("/deeper"));
    harness.start();
    // A URL's path begins with a slash, also before a drive letter.
    const QByteArray url =
        (other.startsWith(u'/') ? "file://" : "file:///") + encodeNativeName(other);
    const QByteArray place = format == "text/plain" ? encodeNativeName(other) : url;
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(format), QByteArray(data).replace("%1", place));
    if (pasted) {
        QGuiApplication::clipboard()->setMimeData(mime);
        harness.window().findChild<QAction*>(QStringLiteral("pastePaths"))->trigger();
    } else {
        // A drop goes where the drag was accepted on entering.
        QDragEnterEvent enter({100, 100}, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&harness.window(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(100, 100), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&harness.window(), &drop);
        delete mime;
    }
    QTRY_COMPARE_WITH_TIMEOUT(
        harness.state().TrialName + QLatin1Char('.') + harness.state().TrialExt, trial, 10000);
    QCOMPARE(harness.state().DataDir, harness.path(dataDir));
    if (trial.endsWith(QLatin1String(".DG"))) {
        QCOMPARE(encodeNativeName(harness.state().TrialPath),
                 encodeNativeName(trial.chopped(3)) + ".dg"); // byte for byte
        QVERIFY(harness.ui().cmdAnimate->isEnabled());
    }
    QTRY_COMPARE_WITH_TIMEOUT(harness.ui().StatusBar1->currentMessage(), status, 10000);
    QVERIFY(harness.starter.requests.empty()); // a drop selects; it starts nothing
    QVERIFY(harness.messages.boxes.empty());
}

QTEST_MAIN(RecentDropsTest)
#include "tst_recentdrops.moc"
