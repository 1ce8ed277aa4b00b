// The "&Help" and "&Manuals" menus and the "Man&ual" button: the help items
// offered, and the viewer, reader or text editor each command opens.

#include "DocsHelpers.h"
#include "HostFiles.h"
#include "MainWindowHarness.h"
#include "classic/CaptionButton.h"
#include "docs/DocumentList.h"
#include "docs/HelpMenu.h"
#include "docs/ReaderPlugin.h"
#include "docs/frmViewer.h"

#include <QAccessible>
#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

QList<bool> helpItemStates(MainWindowHarness& harness)
{
    Q_EMIT harness.ui().mnuHelp->aboutToShow();
    QList<bool> states;
    for (const QAction* item : harness.ui().mnuHelpItem)
        states.append(item->isEnabled());
    return states;
}

} // namespace

class HelpMenuTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void helpItemsFollowTheFilesPresent_data();
    void helpItemsFollowTheFilesPresent();
    void helpItemShowsItsFileInTheViewer();
    void manuals_data();
    void manuals();
};

void HelpMenuTest::helpItemsFollowTheFilesPresent_data()
{
    // clang-format off
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QList<bool>>("enabled");

    QTest::newRow("some") << QStringList{"overview.txt", "kinemati.txt"} << QList<bool>{true, false, false, false, false, false, true, false, false};
    QTest::newRow("all, in other letter cases") << QStringList{"OVERVIEW.TXT", "Tavromu.txt", "scalvane.TXT", "dg_File.Txt", "FPlate.txt", "KADRIX.txt", "Kinemati.txt", "readmekx.txt", "UpdateKX.txt"} << QList<bool>(9, true);
    // clang-format on
}

void HelpMenuTest::helpItemsFollowTheFilesPresent()
{
    QFETCH(QStringList, present);
    QFETCH(QList<bool>, enabled);
    MainWindowHarness harness;
    for (const QString& name : present)
        writeFile(harness.progDir + u'/' + name, "help\n");
    harness.start();
    QCOMPARE(helpItemStates(harness), enabled);
    QVERIFY(harness.messages.boxes.empty());

    // Tested again at each opening.
    writeFile(harness.progDir + "/UPDATEKX.TXT", "help\n");
    enabled[8] = true;
    QCOMPARE(helpItemStates(harness), enabled);
}

void HelpMenuTest::helpItemShowsItsFileInTheViewer()
{
    MainWindowHarness harness;
    writeFile(harness.progDir + "/dg_file.TXT", "The .DG header\r\nline 3\r\n");
    writeFile(harness.progDir + "/Kadrix.txt", "Kadrix\n");
    writeFile(harness.progDir + "/Scalvane.txt", "Scalvane\n");
    harness.start();
    helpItemStates(harness);
    harness.ui().mnuHelpItem.at(3)->trigger();
    QCOMPARE(harness.state().ViewerFile, harness.progDir + "/DG_file.txt");
    const QPointer<frmViewer> viewer = harness.window().helpMenu().viewer();
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(QAccessible::queryAccessibleInterface(viewer)->role(), QAccessible::Window);
    QCOMPARE(viewer->txtViewer()->toPlainText(), "The .DG header\nline 3\n");

    harness.ui().mnuHelpItem.at(5)->trigger(); // the loaded viewer again
    QCOMPARE(harness.window().helpMenu().viewer(), viewer.data());
    QCOMPARE(viewer->txtViewer()->toPlainText(), "Kadrix");
    QVERIFY(harness.messages.boxes.empty());

    // A file gone since the menu opened: an error, and the viewer left alone.
    QFile::remove(harness.progDir + "/Scalvane.txt");
    harness.ui().mnuHelpItem.at(2)->trigger();
    QCOMPARE(harness.messages.boxes.size(), size_t(1));
    QCOMPARE(harness.state().ViewerFile, harness.progDir + "/Kadrix.txt");

    // A file the viewer cannot show goes to the text editor once, also when
    // the window system hands the hidden viewer the activation late.
    writeFile(harness.progDir + "/Scalvane.txt", "");
    harness.ui().mnuHelpItem.at(2)->trigger();
    Q_EMIT qGuiApp->focusWindowChanged(harness.window().windowHandle());
    Q_EMIT qGuiApp->focusWindowChanged(viewer->windowHandle());
    QCOMPARE(harness.starter.requests.size(), size_t(1));
    QVERIFY(!viewer->isVisible());
    harness.window().close(); // the viewer closes with the main window
    QVERIFY(viewer.isNull());
}

void HelpMenuTest::manuals_data()
{
    // clang-format off
    QTest::addColumn<int>("entry");          // -1: the "Man&ual" button
    QTest::addColumn<QString>("manualFile"); // as the entry leaves it
    QTest::addColumn<QString>("edited");     // the file given to the text editor, if any

    QTest::newRow("file format: the text editor, the name found whatever its case") << 0 << "switches.pdf" << "DG_file.txt";
    QTest::newRow("the user's manual") << 1 << "kadrix.pdf" << "";
    QTest::newRow("other manuals: the list") << 2 << "" << "";
    QTest::newRow("the button: the user's manual") << -1 << "kadrix.pdf" << "";
    // clang-format on
}

void HelpMenuTest::manuals()
{
    QFETCH(int, entry);
    QFETCH(QString, manualFile);
    QFETCH(QString, edited);
    MainWindowHarness harness;
    writeFile(harness.progDir + "/DG_file.txt", "format\n");
    writePdf(harness.progDir + "/manuals/Kadrix.PDF");
    writePdf(harness.progDir + "/manuals/switches.pdf");
    harness.start();
    harness.starter.requests.clear();
    harness.state().ManualFile = "switches.pdf";
    entry < 0 ? harness.ui().cmdManuals->click() : harness.ui().mnuManual.at(entry)->trigger();

    QCOMPARE(harness.state().ManualFile, manualFile);
    QVERIFY(harness.messages.boxes.empty());
    if (!KADRIX_READER_BUILT && edited.isEmpty()) {
        // This build has no reader: the host's own programs open the manual
        // or, for the list, the manuals' directory.
        const QString opened =
            harness.progDir + (manualFile.isEmpty() ? "/manuals/" : "/manuals/Kadrix.PDF");
        QCOMPARE(harness.starter.requests.size(), size_t(1));
        QCOMPARE(harness.starter.last().kind, StartKind::Shell);
        QCOMPARE(namesToCompare({harness.starter.last().program}), namesToCompare({opened}));
        return;
    }
    const QPointer<QWidget> reader = harness.window().helpMenu().reader();
    if (!edited.isEmpty()) {
        QVERIFY(!reader);
        QCOMPARE(harness.starter.requests.size(), size_t(1));
        QCOMPARE(namesToCompare(harness.starter.last().arguments),
                 namesToCompare({harness.progDir + u'/' + edited}));
        QCOMPARE(harness.state().TaskId, 4242.0);
        return;
    }
    QVERIFY(harness.starter.requests.empty());
    QVERIFY(reader && reader->isVisible());
    QCOMPARE(reader->findChild<QWidget*>("filReader")->isVisible(), manualFile.isEmpty());
    // Assistive tools see a window, its list and its page view by name.
    QCOMPARE(QAccessible::queryAccessibleInterface(reader)->role(), QAccessible::Window);
    QCOMPARE(reader->findChild<QWidget*>("filReader")->accessibleName(), "Select a document");
    QCOMPARE(reader->findChild<QWidget*>("pdfReader")->accessibleName(), "Current document");
    QCOMPARE(harness.window().helpMenu().CurrentDocument(),
             manualFile.isEmpty() ? QString() : harness.state().ManualsDir.toLower() + manualFile);
    harness.window().close(); // the reader closes with the main window
    QVERIFY(reader.isNull());
}

QTEST_MAIN(HelpMenuTest)
#include "tst_helpmenu.moc"
