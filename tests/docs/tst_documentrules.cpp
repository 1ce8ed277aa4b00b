// The rules behind the text viewer and the PDF reader: how the viewer reads
// its file, its error messages, how the two windows fit their main control
// to a new size, how a long text goes into the text box a slice at a time,
// and what counts as an activation of a window.

#include "TestFiles.h"
#include "docs/ActivationWatch.h"
#include "docs/LayoutRules.h"
#include "docs/TextFeeder.h"
#include "docs/ViewerError.h"
#include "docs/ViewerText.h"

#include <QDialog>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kadrix;
using namespace kadrix::test;

Q_DECLARE_METATYPE(kadrix::ViewerRead)
Q_DECLARE_METATYPE(kadrix::MessageIcon)

class DocumentRulesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsAllButTheLastByte_data();
    void readsAllButTheLastByte();
    void filesThatAreNotShown_data();
    void filesThatAreNotShown();
    void unreadableFileIsNotFound();
    void noFreeHandle();
    void errorMessages_data();
    void errorMessages();
    void viewerLayout_data();
    void viewerLayout();
    void readerLayout_data();
    void readerLayout();
    void feederFillsTheBoxInSlices_data();
    void feederFillsTheBoxInSlices();
    void newTextReplacesARunningFeed();
    void activationComesFromAnotherWindowOnly();

private:
    QTemporaryDir directory_;
};

void DocumentRulesTest::readsAllButTheLastByte_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("shown");

    QTest::newRow("one byte") << QByteArray("x") << "";
    QTest::newRow("no line end at the end") << QByteArray("first\nsecond") << "first\nsecon";
    QTest::newRow("ends in CR LF: only the LF goes")
        << QByteArray("first\r\nsecond\r\n") << "first\nsecond\n";
    QTest::newRow("ends in LF") << QByteArray("first\nsecond\n") << "first\nsecond";
    QTest::newRow("lone CR is a line end") << QByteArray("a\rb\n") << "a\nb";
    QTest::newRow("UTF-8") << QByteArray("Gr\xC3\xBC\xC3\x9F"
                                         "e\n")
                           << "Gr\u00FC\u00DFe";
    QTest::newRow("UTF-8 character cut by the last byte") << QByteArray("caf\xC3\xA9") << "caf";
    QTest::newRow("Windows code page")
        << QByteArray("\xE9t\xE9 \x93q\x94\r\n") << "\u00E9t\u00E9 \u201Cq\u201D\n";
    QTest::newRow("NUL bytes kept")
        << QByteArray("a\0b\n", 4) << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
}

void DocumentRulesTest::readsAllButTheLastByte()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, shown);
    const QString path = directory_.filePath(QStringLiteral("shown.txt"));
    writeFile(path, contents);

    const ViewerText read = readViewerText(path);
    QCOMPARE(read.result, ViewerRead::Read);
    QCOMPARE(read.text, shown);
}

void DocumentRulesTest::filesThatAreNotShown_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<ViewerRead>("result");

    QTest::newRow("empty file") << "empty.txt" << ViewerRead::Unreadable;
    QTest::newRow("missing file") << "missing.txt" << ViewerRead::NotFound;
    QTest::newRow("missing directory") << "gone/missing.txt" << ViewerRead::NotFound;
    QTest::newRow("a directory") << "folder" << ViewerRead::NotFound;
    QTest::newRow("a pipe, which would never end") << "pipe" << ViewerRead::Unreadable;
}

void DocumentRulesTest::filesThatAreNotShown()
{
    QFETCH(QString, name);
    QFETCH(ViewerRead, result);
    writeFile(directory_.filePath(QStringLiteral("empty.txt")));
    makeDirectory(directory_.filePath(QStringLiteral("folder")));
    const QByteArray pipe = QFile::encodeName(directory_.filePath(QStringLiteral("pipe")));
    if (::access(pipe.constData(), F_OK) != 0)
        QVERIFY(::mkfifo(pipe.constData(), 0600) == 0);

    QCOMPARE(readViewerText(directory_.filePath(name)).result, result);
}

void DocumentRulesTest::unreadableFileIsNotFound()
{
    if (!permissionsAreEnforced())
        QSKIP("the file system lets this user read any file");
    const QString path = directory_.filePath(QStringLiteral("secret.txt"));
    writeFile(path, "text\n");
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    QCOMPARE(readViewerText(path).result, ViewerRead::NotFound);
}

void DocumentRulesTest::noFreeHandle()
{
    const QString path = directory_.filePath(QStringLiteral("plenty.txt"));
    writeFile(path, "text\n");

    // Lowering the limit to the lowest free descriptor leaves no handle free.
    const int lowestFree = ::open("/dev/null", O_RDONLY);
    QVERIFY(lowestFree >= 0);
    ::close(lowestFree);
    rlimit saved{};
    QVERIFY(::getrlimit(RLIMIT_NOFILE, &saved) == 0);
    rlimit lowered = saved;
    lowered.rlim_cur = static_cast<rlim_t>(lowestFree);
    QVERIFY(::setrlimit(RLIMIT_NOFILE, &lowered) == 0);
    const ViewerRead result = readViewerText(path).result;
    ::setrlimit(RLIMIT_NOFILE, &saved);

    QCOMPARE(result, ViewerRead::NoFreeHandle);
}

void DocumentRulesTest::errorMessages_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::addColumn<MessageIcon>("icon");

    QTest::newRow("0") << 0 << "Error trying to open file.  It may be already opened."
                       << MessageIcon::Information;
    QTest::newRow("1") << 1 << "Error finding file." << MessageIcon::Exclamation;
    QTest::newRow("3") << 3 << "Error.  No filename was given." << MessageIcon::Information;
    QTest::newRow("2") << 2 << "Program error." << MessageIcon::Exclamation;
    QTest::newRow("-1") << -1 << "Program error." << MessageIcon::Exclamation;
}

void DocumentRulesTest::errorMessages()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QFETCH(MessageIcon, icon);
    const MessageBox box = viewerErrorBox(code);
    QCOMPARE(box.text, text);
    QCOMPARE(box.icon, icon);
    QCOMPARE(box.title, QStringLiteral("Text Viewer"));
    QCOMPARE(box.buttons, MessageButtons::Ok);
}

void DocumentRulesTest::viewerLayout_data()
{
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QRect>("expected");

    const QRect before(0, 60, 9375, 6135);
    QTest::newRow("loaded size") << QSize(10500, 6975) << QRect(0, 0, 10350, 6225);
    QTest::newRow("just above both limits") << QSize(201, 801) << QRect(0, 0, 51, 51);
    QTest::newRow("width at its limit") << QSize(200, 5000) << QRect(0, 0, before.width(), 4250);
    QTest::newRow("height at its limit") << QSize(5000, 800) << QRect(0, 0, 4850, before.height());
    QTest::newRow("both below") << QSize(100, 100) << QRect(0, 0, before.width(), before.height());
}

void DocumentRulesTest::viewerLayout()
{
    QFETCH(QSize, outer);
    QFETCH(QRect, expected);
    QCOMPARE(viewerTextBox(QRect(0, 60, 9375, 6135), outer), expected);
}

void DocumentRulesTest::readerLayout_data()
{
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("design size") << QSize(10080, 5955) << QRect(100, 720, 9780, 4655);
    QTest::newRow("just above both limits") << QSize(401, 1401) << QRect(100, 720, 101, 101);
    QTest::newRow("height at its limit") << QSize(5000, 1400) << QRect(100, 720, 4700, 4695);
    QTest::newRow("width at its limit") << QSize(400, 5000) << QRect(100, 720, 9735, 3700);
    QTest::newRow("both below: only left and top")
        << QSize(300, 900) << QRect(100, 720, 9735, 4695);
}

void DocumentRulesTest::readerLayout()
{
    QFETCH(QSize, outer);
    QFETCH(QRect, expected);
    QCOMPARE(readerDocumentArea(QRect(120, 700, 9735, 4695), outer), expected);
}

void DocumentRulesTest::feederFillsTheBoxInSlices_data()
{
    QTest::addColumn<QString>("text");

    QString lines;
    for (int i = 0; i < 500; ++i)
        lines += QStringLiteral("line %1 of the text\n").arg(i);
    QTest::newRow("many lines") << lines;
    QTest::newRow("one long line") << QString(3000, QLatin1Char('x'));
    QString pairs;
    for (int i = 0; i < 900; ++i)
        pairs += QStringLiteral("\U0001F3C3");
    QTest::newRow("characters of two halves") << pairs;
    QTest::newRow("shorter than a slice") << QStringLiteral("short\ntext");
}

void DocumentRulesTest::feederFillsTheBoxInSlices()
{
    QFETCH(QString, text);
    QPlainTextEdit box;
    TextFeeder feeder(box, 100);
    feeder.setText(text);
    QCOMPARE(feeder.isFeeding(), text.size() > 100);
    QVERIFY(box.toPlainText().size() <= 100);
    QVERIFY(text.startsWith(box.toPlainText()));

    QTRY_VERIFY(!feeder.isFeeding());
    QCOMPARE(box.toPlainText(), text);
    QCOMPARE(feeder.text(), text);
}

void DocumentRulesTest::newTextReplacesARunningFeed()
{
    QPlainTextEdit box;
    TextFeeder feeder(box, 10);
    feeder.setText(QString(1000, QLatin1Char('a')));
    QVERIFY(feeder.isFeeding());
    feeder.setText(QStringLiteral("b\nc"));
    QVERIFY(!feeder.isFeeding());
    QTest::qWait(20);
    QCOMPARE(box.toPlainText(), QStringLiteral("b\nc"));
}

void DocumentRulesTest::activationComesFromAnotherWindowOnly()
{
    QWidget window;
    QWidget other;
    ActivationWatch watch(window);
    int activations = 0;
    connect(&watch, &ActivationWatch::activated, this, [&activations] { ++activations; });

    // Shown and activated: one activation, now, and none when the window
    // system grants it.
    watch.showAndActivate();
    QCOMPARE(activations, 1);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(activations, 1);

    other.show();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(activations, 2);

    // Back from a dialog: no activation.
    QDialog dialog;
    dialog.setModal(true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.hide();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(activations, 2);

    // Shown again while it is the active window: the activation runs once.
    watch.showAndActivate();
    QTest::qWait(10);
    QCOMPARE(activations, 3);
}

QTEST_MAIN(DocumentRulesTest)
#include "tst_documentrules.moc"
