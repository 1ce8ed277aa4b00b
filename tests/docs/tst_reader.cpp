// The PDF reader: its list of manuals, what each activation opens, the
// lower-cased document path, the messages for an empty or missing manual
// directory, the layout rules, Exit and the title-bar close, and documents
// that cannot be opened.

#include "FakeMessages.h"
#include "PdfFiles.h"
#include "TestFiles.h"
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
#include <QTemporaryDir>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

// A reader over a temporary program directory whose manuals/ the tests fill.
struct ReaderFixture {
    ReaderFixture()
    {
        progDir = QDir(root.path()).canonicalPath() + QStringLiteral("/Prog");
        manualsDir = progDir + QStringLiteral("/manuals/");
        state.ProgDir = progDir;
        state.ManualsDir = manualsDir;
    }
    ~ReaderFixture() { delete reader.data(); }
    ReaderFixture(const ReaderFixture&) = delete;
    ReaderFixture& operator=(const ReaderFixture&) = delete;

    void addManual(const QString& name) { writePdf(manualsDir + name, name); }

    frmReader& show(const QString& manualFile)
    {
        state.ManualFile = manualFile;
        if (!reader)
            reader = new frmReader(state, messages, CurrentDocument);
        reader->showAndActivate();
        return *reader;
    }

    QTemporaryDir root;
    QString progDir;
    QString manualsDir;
    AppState state;
    FakeMessages messages;
    QString CurrentDocument;
    QPointer<frmReader> reader;
};

void clickEntry(DocumentList* list, const QString& name)
{
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(name));
    const QRect place = list->visualItemRect(found.constFirst());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
}

void switchAwayAndBack(QWidget& other, QWidget& reader)
{
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    reader.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&reader));
}

const QString kNoDocuments = QStringLiteral("No Acrobat documents were found in the directory, \n");

} // namespace

class ReaderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsThePdfFilesOfTheManualDirectory();
    void activationOpensManualFile();
    void activationWithoutManualFileOpensTheList();
    void everyActivationShowsManualFileAgain();
    void noDocuments_data();
    void noDocuments();
    void documentPathIsLowerCase();
    void choosingFromTheList();
    void clicksBesideTheListCloseIt();
    void layoutFollowsTheWindowSize();
    void exitHidesAndCloseUnloads();
    void documentsThatCannotBeOpened_data();
    void documentsThatCannotBeOpened();
    void sameDocumentKeepsItsPage();
};

void ReaderTest::listsThePdfFilesOfTheManualDirectory()
{
    ReaderFixture fixture;
    fixture.addManual(QStringLiteral("kadrix.pdf"));
    fixture.addManual(QStringLiteral("Switches.PDF"));
    fixture.addManual(QStringLiteral("dgheader.pdf"));
    writeFile(fixture.manualsDir + QStringLiteral("notes.txt"), "x");
    makeDirectory(fixture.manualsDir + QStringLiteral("old.pdf"));
    frmReader& reader = fixture.show(QString());

    QCOMPARE(reader.filReader()->names(),
             (QStringList{QStringLiteral("dgheader.pdf"), QStringLiteral("kadrix.pdf"),
                          QStringLiteral("Switches.PDF")}));
}

void ReaderTest::activationOpensManualFile()
{
    ReaderFixture fixture;
    fixture.addManual(QStringLiteral("kadrix.pdf"));
    fixture.addManual(QStringLiteral("switches.pdf"));
    frmReader& reader = fixture.show(QStringLiteral("kadrix.pdf"));

    const QString expected = (fixture.manualsDir + QStringLiteral("kadrix.pdf")).toLower();
    QCOMPARE(fixture.CurrentDocument, expected);
    QCOMPARE(reader.lblReader()->text(), expected);
    QCOMPARE(reader.pdfReader().src(), expected);
    QVERIFY(!reader.filReader()->isVisible());
    QVERIFY(fixture.messages.boxes.empty());
}

void ReaderTest::activationWithoutManualFileOpensTheList()
{
    ReaderFixture fixture;
    fixture.addManual(QStringLiteral("kadrix.pdf"));
    fixture.addManual(QStringLiteral("switches.pdf"));
    frmReader& reader = fixture.show(QStringLiteral("kadrix.pdf"));
    const QString manual = fixture.CurrentDocument;

    fixture.show(QString());
    QVERIFY(reader.filReader()->isVisible());
    QCOMPARE(fixture.CurrentDocument, manual);
    QCOMPARE(reader.pdfReader().src(), manual);
    QCOMPARE(reader.lblReader()->text(), manual);
}

void ReaderTest::everyActivationShowsManualFileAgain()
{
    ReaderFixture fixture;
    fixture.addManual(QStringLiteral("kadrix.pdf"));
    fixture.addManual(QStringLiteral("switches.pdf"));
    frmReader& reader = fixture.show(QStringLiteral("kadrix.pdf"));
    reader.cmdRead()->click();
    clickEntry(reader.filReader(), QStringLiteral("switches.pdf"));
    QVERIFY(fixture.CurrentDocument.endsWith(QLatin1String("switches.pdf")));

    QWidget other;
    other.show();
    switchAwayAndBack(other, reader);
    QVERIFY(fixture.CurrentDocument.endsWith(QLatin1String("kadrix.pdf")));
    QCOMPARE(reader.pdfReader().src(), fixture.CurrentDocument);
}

void ReaderTest::noDocuments_data()
{
    QTest::addColumn<bool>("directoryExists");
    QTest::newRow("empty manual directory") << true;
    QTest::newRow("no manual directory") << false;
}

void ReaderTest::noDocuments()
{
    QFETCH(bool, directoryExists);
    ReaderFixture fixture;
    if (directoryExists)
        writeFile(fixture.manualsDir + QStringLiteral("readme.txt"), "x");
    frmReader& reader = fixture.show(QStringLiteral("kadrix.pdf"));

    const MessageBox expected{kNoDocuments + fixture.manualsDir + QLatin1Char('.'),
                              QStringLiteral("Kadrix95"), MessageButtons::Ok,
                              MessageIcon::Exclamation};
    QCOMPARE(fixture.messages.boxes.size(), size_t(1));
    QVERIFY(fixture.messages.boxes.front() == expected);
    QVERIFY(fixture.CurrentDocument.isEmpty());
    QCOMPARE(reader.lblReader()->text(), QStringLiteral("Filename"));
    QVERIFY(reader.pdfReader().src().isEmpty());

    // Every activation says it again.
    QWidget other;
    other.show();
    switchAwayAndBack(other, reader);
    QCOMPARE(fixture.messages.boxes.size(), size_t(2));

    // A manual added meanwhile is found at the next activation.
    fixture.addManual(QStringLiteral("kadrix.pdf"));
    switchAwayAndBack(other, reader);
    QCOMPARE(fixture.messages.boxes.size(), size_t(2));
    QVERIFY(fixture.CurrentDocument.endsWith(QLatin1String("/manuals/kadrix.pdf")));
}

void ReaderTest::documentPathIsLowerCase()
{
    ReaderFixture fixture;
    fixture.addManual(QStringLiteral("Kadrix.PDF"));
    frmReader& reader = fixture.show(QStringLiteral("Kadrix.PDF"));

    QCOMPARE(fixture.CurrentDocument,
             (fixture.manualsDir + QStringLiteral("kadrix.pdf")).toLower());
    QVERIFY(fixture.CurrentDocument != fixture.manualsDir + QStringLiteral("kadrix.pdf"));
    QCOMPARE(reader.lblReader()->text(), fixture.CurrentDocument);
    // The file is found on the disk whatever the case of the path.
    QCOMPARE(reader.pdfReader().document()->status(), QPdfDocument::Status::Ready);
    QVERIFY(reader.pdfReader().notice().isEmpty());
}

void ReaderTest::choosingFromTheList()
{
    ReaderFixture fixture;
    fixture.addManual(QStringLiteral("kadrix.pdf"));
    fixture.addManual(QStringLiteral("DGheader.pdf"));
    frmReader& reader = fixture.show(QString());
    QVERIFY(reader.filReader()->isVisible());
    QVERIFY(fixture.CurrentDocument.isEmpty());

    clickEntry(reader.filReader(), QStringLiteral("DGheader.pdf"));
    const QString expected = (fixture.manualsDir + QStringLiteral("dgheader.pdf")).toLower();
    QCOMPARE(fixture.CurrentDocument, expected);
    QCOMPARE(reader.pdfReader().src(), expected);
    QCOMPARE(reader.lblReader()->text(), expected);
    QVERIFY(!reader.filReader()->isVisible());
    QCOMPARE(reader.pdfReader().document()->pageCount(), 1);

    reader.cmdRead()->click();
    QVERIFY(reader.filReader()->isVisible());
    reader.filReader()->setFocus();
    QTest::keyClick(reader.filReader(), Qt::Key_Down);
    QTest::keyClick(reader.filReader(), Qt::Key_Return);
    QVERIFY(!reader.filReader()->isVisible());
    QVERIFY(fixture.CurrentDocument.endsWith(QLatin1String("kadrix.pdf")));
}

void ReaderTest::clicksBesideTheListCloseIt()
{
    ReaderFixture fixture;
    fixture.addManual(QStringLiteral("kadrix.pdf"));
    frmReader& reader = fixture.show(QString());
    QVERIFY(reader.filReader()->isVisible());
    QTest::mouseClick(reader.lblReader(), Qt::LeftButton);
    QVERIFY(!reader.filReader()->isVisible());

    reader.cmdRead()->click();
    QTest::mouseClick(&reader, Qt::LeftButton, {}, QPoint(twips(9000), twips(100)));
    QVERIFY(!reader.filReader()->isVisible());
    QVERIFY(fixture.CurrentDocument.isEmpty());
}

void ReaderTest::layoutFollowsTheWindowSize()
{
    ReaderFixture fixture;
    fixture.addManual(QStringLiteral("kadrix.pdf"));
    frmReader& reader = fixture.show(QStringLiteral("kadrix.pdf"));
    QCOMPARE(reader.pdfReader().rectangle(), QRect(100, 720, toTwips(reader.width()) + 120 - 300,
                                                   toTwips(reader.height()) + 435 - 1300));

    reader.resize(400, 300);
    QTRY_COMPARE(reader.width(), 400);
    const QRect area(100, 720, 6000 + 120 - 300, 4500 + 435 - 1300);
    QCOMPARE(reader.pdfReader().rectangle(), area);
    QCOMPARE(reader.pdfReader().view()->geometry(),
             twipsRect(area.x(), area.y(), area.width(), area.height()));
}

void ReaderTest::exitHidesAndCloseUnloads()
{
    ReaderFixture fixture;
    fixture.addManual(QStringLiteral("kadrix.pdf"));
    fixture.addManual(QStringLiteral("other.pdf"));
    frmReader& reader = fixture.show(QString());
    clickEntry(reader.filReader(), QStringLiteral("other.pdf"));
    reader.cmdRead()->click();

    reader.cmdExit()->click();
    QVERIFY(!reader.isVisible());
    QVERIFY(fixture.reader);
    // Shown again, the list is still open and the document still there.
    fixture.show(QString());
    QVERIFY(reader.filReader()->isVisible());
    QVERIFY(fixture.CurrentDocument.endsWith(QLatin1String("other.pdf")));

    reader.close();
    QTRY_VERIFY(fixture.reader.isNull());
    // The document outlives the window: a new reader opens it again.
    frmReader& again = fixture.show(QString());
    QCOMPARE(again.pdfReader().src(), fixture.CurrentDocument);
    QCOMPARE(again.lblReader()->text(), fixture.CurrentDocument);
}

void ReaderTest::documentsThatCannotBeOpened_data()
{
    QTest::addColumn<QString>("manualFile");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("reason");

    QTest::newRow("not in the directory") << "missing.pdf" << QByteArray() << "not found";
    QTest::newRow("not a PDF") << "broken.pdf" << QByteArray("%PDF-1.4 garbage")
                               << "not a PDF document";
    QTest::newRow("empty file") << "empty.pdf" << QByteArray("") << "not a PDF document";
}

void ReaderTest::documentsThatCannotBeOpened()
{
    QFETCH(QString, manualFile);
    QFETCH(QByteArray, contents);
    QFETCH(QString, reason);
    ReaderFixture fixture;
    fixture.addManual(QStringLiteral("kadrix.pdf"));
    if (manualFile != QLatin1String("missing.pdf"))
        writeFile(fixture.manualsDir + manualFile, contents);
    frmReader& reader = fixture.show(QStringLiteral("kadrix.pdf"));
    QCOMPARE(reader.pdfReader().document()->pageCount(), 1);

    fixture.show(manualFile);
    QCOMPARE(reader.pdfReader().src(), (fixture.manualsDir + manualFile).toLower());
    QCOMPARE(reader.pdfReader().document()->pageCount(), 0);
    QVERIFY2(reader.pdfReader().notice().contains(reason), qPrintable(reader.pdfReader().notice()));
    QVERIFY(reader.pdfReader().notice().contains(reader.pdfReader().src()));

    // The next good document clears the notice.
    fixture.show(QStringLiteral("kadrix.pdf"));
    QVERIFY(reader.pdfReader().notice().isEmpty());
    QCOMPARE(reader.pdfReader().document()->pageCount(), 1);
}

void ReaderTest::sameDocumentKeepsItsPage()
{
    ReaderFixture fixture;
    writePdf(fixture.manualsDir + QStringLiteral("kadrix.pdf"), QStringLiteral("long"), 6);
    frmReader& reader = fixture.show(QStringLiteral("kadrix.pdf"));
    QPdfDocument* document = reader.pdfReader().document();
    QCOMPARE(document->pageCount(), 6);
    int loads = 0;
    connect(document, &QPdfDocument::statusChanged, this, [&loads](QPdfDocument::Status status) {
        loads += status == QPdfDocument::Status::Loading ? 1 : 0;
    });

    fixture.show(QStringLiteral("kadrix.pdf"));
    QCOMPARE(loads, 0);

    writePdf(fixture.manualsDir + QStringLiteral("kadrix.pdf"), QStringLiteral("longer"), 7);
    fixture.show(QStringLiteral("kadrix.pdf"));
    QCOMPARE(loads, 1);
    QCOMPARE(document->pageCount(), 7);
}

QTEST_MAIN(ReaderTest)
#include "tst_reader.moc"
