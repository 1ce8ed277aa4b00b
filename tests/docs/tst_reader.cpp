// The PDF reader: each activation, its list of manuals, the message for none,
// the layout, Exit and close, bad documents, and loading its plugin.

#include "DocsHelpers.h"
#include "FakeMessages.h"
#include "classic/Twips.h"
#include "core/AppState.h"
#include "docs/DocumentList.h"
#include "docs/PdfComponent.h"
#include "docs/ReaderPluginLoader.h"
#include "docs/frmReader.h"
#include "platform/NativeNames.h"

#include <QDir>
#include <QLabel>
#include <QPdfDocument>
#include <QPdfView>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

// A reader over a temporary program directory whose manuals/ the tests fill;
// its name holds a byte that is no UTF-8, as one copied from old media.
struct ReaderFixture {
    ReaderFixture()
    {
        state.ManualsDir = QDir(root.path()).canonicalPath() +
                           decodeNativeName("/\xc3\x89tudes/Prog\xfc/manuals/");
    }
    ~ReaderFixture() { delete reader.data(); }

    void add(const QString& name, int pages = 1) { writePdf(state.ManualsDir + name, name, pages); }
    QString manual(const QString& name) const { return foldedAsciiCase(state.ManualsDir + name); }
    frmReader& show(const QString& manualFile)
    {
        state.ManualFile = manualFile;
        reader = reader ? reader.data() : new frmReader(state, messages, CurrentDocument);
        reader->showAndActivate();
        return *reader;
    }
    // The document shown: the shared path, its label and the component's
    // source, which it could open.
    void checkShown(const QString& expected, const QString& label = {}) const
    {
        QCOMPARE(CurrentDocument, expected);
        QCOMPARE(reader->lblReader()->text(), label.isEmpty() ? shownName(expected) : label);
        QCOMPARE(reader->pdfReader().src(), expected);
        QCOMPARE(reader->pdfReader().notice(), QString());
    }

    QTemporaryDir root;
    AppState state;
    FakeMessages messages;
    QString CurrentDocument;
    QPointer<frmReader> reader;
};

} // namespace

class ReaderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void noDocumentsThenTheList();
    void layoutDocumentsShownAgainOrNotAtAllAndClose();
    void pluginLoading();
};

void ReaderTest::noDocumentsThenTheList()
{
    // No manual directory, then one without manuals: every activation says so.
    ReaderFixture fixture;
    frmReader& reader = fixture.show("Kadrix.PDF");
    const QString text =
        "No Acrobat documents were found in the directory, \n" + fixture.state.ManualsDir + u'.';
    fixture.checkShown(QString(), "Filename");
    writeFile(fixture.state.ManualsDir + "notes.txt", "x");
    makeDirectory(fixture.state.ManualsDir + "old.pdf");
    QVERIFY(switchAwayAndBack(reader));
    QVERIFY(fixture.messages.boxes ==
            std::vector<MessageBox>(
                2, {text, "Kadrix95", MessageButtons::Ok, MessageIcon::Exclamation}));

    fixture.add("Kadrix.PDF"); // manuals added meanwhile are found
    fixture.add("dgheader.pdf");
    QVERIFY(switchAwayAndBack(reader));
    DocumentList& list = *reader.filReader();
    fixture.checkShown(fixture.manual("kadrix.pdf")); // lower-cased, yet found

    fixture.show(QString()); // no ManualFile: the list, over the document shown
    QVERIFY(list.isVisible());
    QCOMPARE(list.names(), QStringList({"dgheader.pdf", "Kadrix.PDF"}));
    QTest::mouseClick(reader.lblReader(), Qt::LeftButton); // a click beside closes it
    QVERIFY(!list.isVisible());
    reader.cmdRead()->click();
    QTest::mouseClick(&reader, Qt::LeftButton, {}, QPoint(twips(9000), twips(100)));
    QVERIFY(!list.isVisible());
    fixture.checkShown(fixture.manual("kadrix.pdf"));

    reader.cmdRead()->click(); // chosen with the mouse, then with the keyboard
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(0)).center());
    QVERIFY(!list.isVisible());
    fixture.checkShown(fixture.manual("dgheader.pdf"));
    reader.cmdRead()->click();
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_Return);
    QVERIFY(!list.isVisible());
    fixture.checkShown(fixture.manual("kadrix.pdf"));

    fixture.state.ManualFile = "dgheader.pdf";
    QVERIFY(switchAwayAndBack(reader)); // every activation shows ManualFile again
    fixture.checkShown(fixture.manual("dgheader.pdf"));
    QCOMPARE(fixture.messages.texts().size(), 2);
}

void ReaderTest::layoutDocumentsShownAgainOrNotAtAllAndClose()
{
    ReaderFixture fixture;
    fixture.add("kadrix.pdf", 6);
    writeFile(fixture.state.ManualsDir + "broken.pdf", "%PDF-1.4 garbage");
    frmReader& reader = fixture.show("kadrix.pdf");
    const PdfComponent& pdf = reader.pdfReader();
    reader.resize(400, 300);
    QTRY_COMPARE(reader.width(), 400);
    const QRect area(100, 720, 6000 + 120 - 300, 4500 + 435 - 1300);
    QCOMPARE(pdf.view()->geometry(), twipsRect(area.x(), area.y(), area.width(), area.height()));

    // Shown again unchanged, a document is not loaded again and keeps its
    // page; changed, it is.
    QSignalSpy loads(pdf.document(), &QPdfDocument::statusChanged);
    fixture.show("kadrix.pdf");
    QVERIFY(loads.isEmpty());
    fixture.add("kadrix.pdf", 7);
    fixture.show("kadrix.pdf");
    QCOMPARE(pdf.document()->pageCount(), 7);
    // One that cannot be opened: no pages, and a notice that says why.
    for (const auto& [name, reason] :
         {std::pair{"missing.pdf", "not found"}, {"broken.pdf", "not a PDF document"}}) {
        fixture.show(name);
        QCOMPARE(pdf.document()->pageCount(), 0);
        QVERIFY(pdf.notice().contains(reason) && pdf.notice().contains(shownName(pdf.src())));
    }
    fixture.show("kadrix.pdf");
    QVERIFY(pdf.notice().isEmpty());

    reader.cmdExit()->click();
    QVERIFY(!reader.isVisible());
    reader.close();
    QTRY_VERIFY(fixture.reader.isNull());
    fixture.show(QString()); // the document outlives the window
    fixture.checkShown(fixture.manual("kadrix.pdf"));
}

void ReaderTest::pluginLoading()
{
    // Not found: the user is told where it was looked for; the caller goes on.
    FakeMessages messages;
    QVERIFY(!loadReaderPlugin(messages, {"/nonexistent"}));
    QCOMPARE(messages.texts(), QStringList("The PDF reader and printing could not be loaded.\n\n"
                                           "kadrix95reader.so was not found in /nonexistent."));
    // The plugin built beside the tests makes readers.
    ReaderPlugin* plugin = loadReaderPlugin(messages, readerPluginDirectories());
    QVERIFY(plugin);
    AppState state;
    QString document;
    QVERIFY(std::unique_ptr<QWidget>(plugin->createReader(state, messages, document)));
}

QTEST_MAIN(ReaderTest)
#include "tst_reader.moc"
