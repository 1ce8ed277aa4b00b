// The PDF reader: what each activation opens, its list of manuals, the
// message for no manuals, the layout, Exit and close, and bad documents.

#include "DocsHelpers.h"
#include "FakeMessages.h"
#include "app/AppState.h"
#include "docs/DocumentList.h"
#include "docs/PdfComponent.h"
#include "docs/frmReader.h"
#include "platform/Twips.h"

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

// A reader over a temporary program directory whose manuals/ the tests fill.
struct ReaderFixture {
    ReaderFixture()
    {
        state.ProgDir = QDir(root.path()).canonicalPath() + "/Prog";
        state.ManualsDir = state.ProgDir + "/manuals/";
    }
    ~ReaderFixture() { delete reader.data(); }

    void add(const QString& name, int pages = 1) { writePdf(state.ManualsDir + name, name, pages); }
    QString manual(const QString& name) const { return (state.ManualsDir + name).toLower(); }
    frmReader& show(const QString& manualFile)
    {
        state.ManualFile = manualFile;
        if (!reader)
            reader = new frmReader(state, messages, CurrentDocument);
        reader->showAndActivate();
        return *reader;
    }
    // The document shown: the shared path, its label and the component's source.
    void checkShown(const QString& expected, const QString& label = {}) const
    {
        QCOMPARE(CurrentDocument, expected);
        QCOMPARE(reader->lblReader()->text(), label.isEmpty() ? expected : label);
        QCOMPARE(reader->pdfReader().src(), expected);
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
    void activationAndTheList();
    void noDocuments_data();
    void noDocuments();
    void layoutExitAndClose();
    void documentsShownAgainOrNotAtAll();
};

void ReaderTest::activationAndTheList()
{
    ReaderFixture fixture;
    fixture.add("Kadrix.PDF");
    fixture.add("dgheader.pdf");
    writeFile(fixture.state.ManualsDir + "notes.txt", "x");
    makeDirectory(fixture.state.ManualsDir + "old.pdf");
    frmReader& reader = fixture.show("Kadrix.PDF");
    DocumentList& list = *reader.filReader();
    fixture.checkShown(fixture.manual("kadrix.pdf")); // lower-cased, yet found
    QCOMPARE(reader.pdfReader().document()->status(), QPdfDocument::Status::Ready);
    QVERIFY(!list.isVisible());

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
    QVERIFY(fixture.messages.boxes.empty());
}

void ReaderTest::noDocuments_data()
{
    // clang-format off
    QTest::addColumn<bool>("directoryExists");
    QTest::newRow("empty manual directory") << true;
    QTest::newRow("no manual directory") << false;
    // clang-format on
}

void ReaderTest::noDocuments()
{
    QFETCH(bool, directoryExists);
    ReaderFixture fixture;
    if (directoryExists)
        writeFile(fixture.state.ManualsDir + "readme.txt", "x");
    fixture.show("kadrix.pdf");
    const QString text =
        "No Acrobat documents were found in the directory, \n" + fixture.state.ManualsDir + u'.';
    QVERIFY(fixture.messages.boxes ==
            (std::vector<MessageBox>{
                {text, "Kadrix95", MessageButtons::Ok, MessageIcon::Exclamation}}));
    fixture.checkShown(QString(), "Filename");

    QVERIFY(switchAwayAndBack(*fixture.reader)); // every activation says it again
    QCOMPARE(fixture.messages.texts(), QStringList({text, text}));
    fixture.add("kadrix.pdf");
    QVERIFY(switchAwayAndBack(*fixture.reader)); // a manual added meanwhile is found
    QCOMPARE(fixture.messages.texts().size(), 2);
    fixture.checkShown(fixture.manual("kadrix.pdf"));
}

void ReaderTest::layoutExitAndClose()
{
    ReaderFixture fixture;
    fixture.add("kadrix.pdf");
    frmReader& reader = fixture.show("kadrix.pdf");
    reader.resize(400, 300);
    QTRY_COMPARE(reader.width(), 400);
    const QRect area(100, 720, 6000 + 120 - 300, 4500 + 435 - 1300);
    QCOMPARE(reader.pdfReader().rectangle(), area);
    QCOMPARE(reader.pdfReader().view()->geometry(),
             twipsRect(area.x(), area.y(), area.width(), area.height()));

    reader.cmdExit()->click();
    QVERIFY(!reader.isVisible());
    reader.close();
    QTRY_VERIFY(fixture.reader.isNull());
    fixture.show(QString()); // the document outlives the window
    fixture.checkShown(fixture.manual("kadrix.pdf"));
}

void ReaderTest::documentsShownAgainOrNotAtAll()
{
    ReaderFixture fixture;
    fixture.add("kadrix.pdf", 6);
    writeFile(fixture.state.ManualsDir + "broken.pdf", "%PDF-1.4 garbage");
    const PdfComponent& pdf = fixture.show("kadrix.pdf").pdfReader();
    // Shown again unchanged, a document is not loaded again and keeps its
    // page; changed, it is.
    QSignalSpy loads(pdf.document(), &QPdfDocument::statusChanged);
    fixture.show("kadrix.pdf");
    QVERIFY(loads.isEmpty());
    fixture.add("kadrix.pdf", 7);
    fixture.show("kadrix.pdf");
    QCOMPARE(pdf.document()->pageCount(), 7);

    // One that cannot be opened: no pages, and a notice that says why.
    fixture.show("missing.pdf");
    QCOMPARE(pdf.document()->pageCount(), 0);
    QVERIFY(pdf.notice().contains("not found") && pdf.notice().contains(pdf.src()));
    fixture.show("broken.pdf");
    QVERIFY(pdf.notice().contains("not a PDF document") && pdf.notice().contains(pdf.src()));
    fixture.show("kadrix.pdf");
    QVERIFY(pdf.notice().isEmpty());
    QCOMPARE(pdf.document()->pageCount(), 7);
}

QTEST_MAIN(ReaderTest)
#include "tst_reader.moc"
