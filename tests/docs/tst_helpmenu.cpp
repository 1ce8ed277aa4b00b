// The main window's "&Help" and "&Manuals" menus and its "Man&ual" button:
// which help items are offered, the viewer and the reader they open, the
// text editor on the file-format description, and the windows closing with
// the main window.

#include "MainWindowHarness.h"
#include "PdfFiles.h"
#include "TestFiles.h"
#include "app/CaptionButton.h"
#include "docs/DocumentList.h"
#include "docs/HelpMenu.h"
#include "docs/PdfComponent.h"
#include "docs/frmReader.h"
#include "docs/frmViewer.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

const QStringList kHelpFiles{
    QStringLiteral("Overview.txt"), QStringLiteral("Tavromu.txt"),  QStringLiteral("Scalvane.txt"),
    QStringLiteral("DG_file.txt"),  QStringLiteral("FPlate.txt"),   QStringLiteral("Kadrix.txt"),
    QStringLiteral("Kinemati.txt"), QStringLiteral("ReadmeKX.txt"), QStringLiteral("UpdateKX.txt")};

QList<bool> helpItemStates(MainWindowHarness& harness)
{
    Q_EMIT harness.ui().mnuHelp->aboutToShow();
    QList<bool> states;
    for (const QAction* item : harness.ui().mnuHelpItem)
        states.append(item->isEnabled());
    return states;
}

HelpMenu& helpMenu(MainWindowHarness& harness)
{
    return harness.window().helpMenu();
}

} // namespace

class HelpMenuTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void helpItemsFollowTheFilesPresent_data();
    void helpItemsFollowTheFilesPresent();
    void helpItemShowsItsFileInTheViewer();
    void helpFileRemovedAfterTheMenuOpened();
    void fileFormatGoesToTheTextEditor_data();
    void fileFormatGoesToTheTextEditor();
    void manualEntriesOpenTheReader();
    void manualButtonOpensTheUsersManual();
    void windowsCloseWithTheMainWindow();
};

void HelpMenuTest::helpItemsFollowTheFilesPresent_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QList<bool>>("enabled");

    const QList<bool> none(9, false);
    QList<bool> first = none;
    first[0] = true;
    QTest::newRow("none") << QStringList() << none;
    QTest::newRow("only overview.txt") << QStringList{QStringLiteral("overview.txt")} << first;
    QTest::newRow("names in other letter cases")
        << QStringList{QStringLiteral("OVERVIEW.TXT"), QStringLiteral("dg_File.Txt"),
                       QStringLiteral("readmekx.txt")}
        << QList<bool>{true, false, false, true, false, false, false, true, false};
    QTest::newRow("all nine") << kHelpFiles << QList<bool>(9, true);
}

void HelpMenuTest::helpItemsFollowTheFilesPresent()
{
    QFETCH(QStringList, present);
    QFETCH(QList<bool>, enabled);
    MainWindowHarness harness;
    for (const QString& name : present)
        writeFile(harness.progDir + QLatin1Char('/') + name, "help\n");
    harness.start();

    QCOMPARE(helpItemStates(harness), enabled);
    QVERIFY(harness.ui().mnuCommandLine->isEnabled());
    QVERIFY(harness.ui().mnuAbout->isEnabled());
    QVERIFY(harness.messages.boxes.empty());

    // Recomputed at each opening.
    writeFile(harness.progDir + QStringLiteral("/UPDATEKX.TXT"), "help\n");
    enabled[8] = true;
    QCOMPARE(helpItemStates(harness), enabled);
}

void HelpMenuTest::helpItemShowsItsFileInTheViewer()
{
    MainWindowHarness harness;
    writeFile(harness.progDir + QStringLiteral("/dg_file.TXT"), "The .DG header\r\nline 3\r\n");
    harness.start();
    QCOMPARE(helpItemStates(harness).at(3), true);

    harness.ui().mnuHelpItem.at(3)->trigger();
    QCOMPARE(harness.state().ViewerFile, harness.progDir + QStringLiteral("/DG_file.txt"));
    frmViewer* viewer = helpMenu(harness).viewer();
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Text Viewer: ") + harness.state().ViewerFile);
    QCOMPARE(viewer->txtViewer()->toPlainText(), QStringLiteral("The .DG header\nline 3\n"));
    QVERIFY(harness.messages.boxes.empty());

    // Another item reuses the loaded viewer.
    writeFile(harness.progDir + QStringLiteral("/Kadrix.txt"), "Kadrix\n");
    QCOMPARE(helpItemStates(harness).at(5), true);
    harness.ui().mnuHelpItem.at(5)->trigger();
    QCOMPARE(helpMenu(harness).viewer(), viewer);
    QCOMPARE(viewer->txtViewer()->toPlainText(), QStringLiteral("Kadrix"));
}

void HelpMenuTest::helpFileRemovedAfterTheMenuOpened()
{
    MainWindowHarness harness;
    const QString path = harness.progDir + QStringLiteral("/Scalvane.txt");
    writeFile(path, "Scalvane\n");
    harness.start();
    QCOMPARE(helpItemStates(harness).at(2), true);
    QFile::remove(path);

    harness.ui().mnuHelpItem.at(2)->trigger();
    QCOMPARE(harness.messages.boxes.size(), size_t(1));
    const MessageBox& box = harness.messages.boxes.front();
    QVERIFY2(box.text.startsWith(QStringLiteral("Error opening file: ") +
                                 (harness.progDir + QStringLiteral("/Scalvane.txt")).toUpper()),
             qPrintable(box.text));
    QVERIFY(box.text.endsWith(QLatin1String("(53)")));
    QCOMPARE(box.icon, MessageIcon::Critical);
    QVERIFY(!helpMenu(harness).viewer());
    QVERIFY(harness.state().ViewerFile.isEmpty());
}

void HelpMenuTest::fileFormatGoesToTheTextEditor_data()
{
    QTest::addColumn<QString>("onDisk");
    QTest::addColumn<QString>("argument");

    QTest::newRow("missing: the editor says so") << ""
                                                 << "%1/dg_file.txt";
    QTest::newRow("found regardless of case") << "DG_file.txt"
                                              << "%1/DG_file.txt";
}

void HelpMenuTest::fileFormatGoesToTheTextEditor()
{
    QFETCH(QString, onDisk);
    QFETCH(QString, argument);
    MainWindowHarness harness;
    if (!onDisk.isEmpty())
        writeFile(harness.progDir + QLatin1Char('/') + onDisk, "format\n");
    harness.start();
    harness.starter.requests.clear();

    harness.ui().mnuManual.at(0)->trigger();
    QCOMPARE(harness.starter.requests.size(), size_t(1));
    const StartRequest& request = harness.starter.last();
    QCOMPARE(request.commandText,
             QStringLiteral("notepad.exe ") + harness.progDir + QStringLiteral("/dg_file.txt"));
    QCOMPARE(request.kind, StartKind::Command);
    QCOMPARE(request.showCode, kShowNormal);
    QCOMPARE(request.arguments, QStringList{argument.arg(harness.progDir)});
    QCOMPARE(harness.state().TaskId, 4242.0);
    QVERIFY(harness.messages.boxes.empty());
    QVERIFY(!helpMenu(harness).viewer());
}

void HelpMenuTest::manualEntriesOpenTheReader()
{
    MainWindowHarness harness;
    writePdf(harness.progDir + QStringLiteral("/manuals/kadrix.pdf"));
    writePdf(harness.progDir + QStringLiteral("/manuals/switches.pdf"));
    harness.start();
    const QString usersManual =
        (harness.state().ManualsDir + QStringLiteral("kadrix.pdf")).toLower();

    harness.ui().mnuManual.at(1)->trigger();
    QCOMPARE(harness.state().ManualFile, QStringLiteral("kadrix.pdf"));
    frmReader* reader = helpMenu(harness).reader();
    QVERIFY(reader && reader->isVisible());
    QCOMPARE(helpMenu(harness).CurrentDocument(), usersManual);
    QVERIFY(!reader->filReader()->isVisible());

    // "&Other manuals" after the user's manual offers the list instead.
    harness.ui().mnuManual.at(2)->trigger();
    QVERIFY(harness.state().ManualFile.isEmpty());
    QCOMPARE(helpMenu(harness).reader(), reader);
    QVERIFY(reader->filReader()->isVisible());
    QCOMPARE(reader->filReader()->names(),
             (QStringList{QStringLiteral("kadrix.pdf"), QStringLiteral("switches.pdf")}));
    QCOMPARE(reader->pdfReader().src(), usersManual);
    QVERIFY(harness.starter.requests.empty());
    QVERIFY(harness.messages.boxes.empty());
}

void HelpMenuTest::manualButtonOpensTheUsersManual()
{
    MainWindowHarness harness;
    writePdf(harness.progDir + QStringLiteral("/manuals/Kadrix.PDF"));
    harness.start();
    QVERIFY(harness.ui().cmdManuals->isEnabled());
    harness.state().ManualFile = QStringLiteral("other.pdf");

    harness.ui().cmdManuals->click();
    QCOMPARE(harness.state().ManualFile, QStringLiteral("kadrix.pdf"));
    frmReader* reader = helpMenu(harness).reader();
    QVERIFY(reader && reader->isVisible());
    QCOMPARE(reader->lblReader()->text(),
             (harness.state().ManualsDir + QStringLiteral("kadrix.pdf")).toLower());
    QVERIFY(reader->pdfReader().notice().isEmpty());
}

void HelpMenuTest::windowsCloseWithTheMainWindow()
{
    MainWindowHarness harness;
    writeFile(harness.progDir + QStringLiteral("/Overview.txt"), "Overview\n");
    writePdf(harness.progDir + QStringLiteral("/manuals/kadrix.pdf"));
    harness.start();
    harness.ui().mnuHelpItem.at(0)->trigger();
    harness.ui().mnuManual.at(1)->trigger();
    const QPointer<frmViewer> viewer = helpMenu(harness).viewer();
    const QPointer<frmReader> reader = helpMenu(harness).reader();
    QVERIFY(viewer && reader);

    harness.window().close();
    QVERIFY(viewer.isNull());
    QVERIFY(reader.isNull());
}

QTEST_MAIN(HelpMenuTest)
#include "tst_helpmenu.moc"
