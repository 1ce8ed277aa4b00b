// The rules behind the viewer and the reader: how the viewer reads its file,
// how both fit a new size, and what counts as a window's activation.

#include "DocsHelpers.h"
#include "HostFiles.h"
#include "docs/ActivationWatch.h"
#include "docs/LayoutRules.h"
#include "docs/ViewerText.h"

#include <QDialog>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

Q_DECLARE_METATYPE(kadrix::ViewerRead)

class DocumentRulesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsAllButTheLastByte_data();
    void readsAllButTheLastByte();
    void layout_data();
    void layout();
    void activationComesFromAnotherWindowOnly();

private:
    QTemporaryDir directory_;
};

void DocumentRulesTest::readsAllButTheLastByte_data()
{
    // clang-format off
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("contents"); // null: no such file
    QTest::addColumn<ViewerRead>("result");
    QTest::addColumn<QString>("shown");

    QTest::newRow("one byte") << "one" << QByteArray("x") << ViewerRead::Read << "";
    QTest::newRow("no line end at the end") << "noend" << QByteArray("first\nsecond") << ViewerRead::Read << "first\nsecon";
    QTest::newRow("ends in LF") << "lf" << QByteArray("first\nsecond\n") << ViewerRead::Read << "first\nsecond";
    QTest::newRow("ends in CR LF: only the LF goes") << "crlf" << QByteArray("first\r\nsecond\r\n") << ViewerRead::Read << "first\nsecond\n";
    QTest::newRow("lone CR is a line end") << "cr" << QByteArray("a\rb\n") << ViewerRead::Read << "a\nb";
    QTest::newRow("UTF-8") << "utf8" << QByteArray("Gr\xC3\xBC\xC3\x9F" "e\n") << ViewerRead::Read << "Gr\u00FC\u00DFe";
    QTest::newRow("UTF-8 character cut by the last byte") << "cut" << QByteArray("caf\xC3\xA9") << ViewerRead::Read << "caf";
    QTest::newRow("Windows code page") << "cp" << QByteArray("\xE9t\xE9 \x93q\x94\r\n") << ViewerRead::Read << "\u00E9t\u00E9 \u201Cq\u201D\n";
    QTest::newRow("NUL bytes kept") << "nuls" << QByteArray("a\0b\n", 4) << ViewerRead::Read << QStringLiteral("a%1b").arg(QChar(0));
    QTest::newRow("empty file") << "empty" << QByteArray("") << ViewerRead::Unreadable << "";
    QTest::newRow("missing file") << "missing" << QByteArray() << ViewerRead::NotFound << "";
    QTest::newRow("a pipe, which would never end") << "pipe" << QByteArray() << ViewerRead::NotFound << "";
    // clang-format on
}

void DocumentRulesTest::readsAllButTheLastByte()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    QFETCH(ViewerRead, result);
    QFETCH(QString, shown);
    const QString path = directory_.filePath(name);
    if (name == "pipe") {
        if (!makeNamedPipe(path))
            QSKIP(kNoNamedPipes);
    } else if (!contents.isNull()) {
        writeFile(path, contents);
    }

    const ViewerText read = readViewerText(path);
    QCOMPARE(read.result, result);
    QCOMPARE(read.text, shown);
}

void DocumentRulesTest::layout_data()
{
    // clang-format off
    QTest::addColumn<bool>("reader"); // else the viewer
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("viewer above both limits") << false << QSize(201, 801) << QRect(0, 0, 51, 51);
    QTest::newRow("viewer at both limits: only the top") << false << QSize(200, 800) << QRect(0, 0, 9375, 6135);
    QTest::newRow("reader above both limits") << true << QSize(401, 1401) << QRect(100, 720, 101, 101);
    QTest::newRow("reader at both limits: only left and top") << true << QSize(400, 1400) << QRect(100, 720, 9735, 4695);
    // clang-format on
}

void DocumentRulesTest::layout()
{
    QFETCH(bool, reader);
    QFETCH(QSize, outer);
    QFETCH(QRect, expected);
    QCOMPARE(reader ? readerDocumentArea(QRect(120, 700, 9735, 4695), outer)
                    : viewerTextBox(QRect(0, 60, 9375, 6135), outer),
             expected);
}

void DocumentRulesTest::activationComesFromAnotherWindowOnly()
{
    QWidget window;
    ActivationWatch watch(window);
    QSignalSpy activations(&watch, &ActivationWatch::activated);
    watch.showAndActivate(); // one activation, now, and none when granted
    QCOMPARE(activations.count(), 1);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(switchAwayAndBack(window));
    QCOMPARE(activations.count(), 2);

    QDialog dialog; // back from a dialog: no activation
    dialog.setModal(true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.hide();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(activations.count(), 2);

    watch.showAndActivate(); // shown again while active: the activation runs once
    QTest::qWait(10);
    QCOMPARE(activations.count(), 3);
}

QTEST_MAIN(DocumentRulesTest)
#include "tst_documentrules.moc"
