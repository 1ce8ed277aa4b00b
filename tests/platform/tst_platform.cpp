// The small layers over the host system: path lookup regardless of letter
// case, file tests that never wait on a special file, twips, and where
// message boxes appear.

#include "FakeMessages.h"
#include "HostFiles.h"
#include "TestFiles.h"
#include "classic/Twips.h"
#include "core/FileTest.h"
#include "platform/FileErrors.h"
#include "platform/NativeNames.h"
#include "platform/PathLookup.h"
#include "platform/QtMessages.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <random>

using namespace kadrix;
using kadrix::test::writeFile;

class PlatformTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesKeepEveryByte_data();
    void namesKeepEveryByte();
    void resolvesLetterCase_data();
    void resolvesLetterCase();
    void fileTestsOpenOnlyRegularFiles();
    void twipsAndPaths();
    void boxesAppearOverTheWindowInUse();
};

// Names that are no UTF-8 come back byte for byte, never become another
// name, and show their odd bytes; letter case is ASCII's alone.
void PlatformTest::namesKeepEveryByte_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("upper");

    QTest::newRow("odd byte") << QByteArray("a\xff.dg") << "a\\xFF.dg" << QByteArray("A\xff.DG");
    QTest::newRow("four-byte letter") << QByteArray("M\xfcller \xf0\x9f\x98\x80.dg") << "M\\xFCller \U0001F600.dg" << QByteArray("M\xfcLLER \xf0\x9f\x98\x80.DG");
    QTest::newRow("byte-order mark first") << QByteArray("\xef\xbb\xbfwalk.dg") << QStringLiteral("\uFEFFwalk.dg") << QByteArray("\xef\xbb\xbfWALK.DG");
    QTest::newRow("byte-order mark within") << QByteArray("a\xef\xbb\xbf\xef\xbb\xbf\xff") << "a\uFEFF\uFEFF\\xFF" << QByteArray("A\xef\xbb\xbf\xef\xbb\xbf\xff");
    QTest::newRow("Osage letter and odd byte") << QByteArray("\xf0\x90\x93\x98\xfc") << "\U000104D8\\xFC" << QByteArray("\xf0\x90\x92\xb0\xfc");
    // clang-format on
}

void PlatformTest::namesKeepEveryByte()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QFETCH(QByteArray, upper);
    QCOMPARE(encodeNativeName(decodeNativeName(bytes)), bytes);
    QCOMPARE(shownName(decodeNativeName(bytes)), shown);
    QCOMPARE(encodeNativeName(upperCased(decodeNativeName(bytes))), upper);
    // Anywhere amid random bytes, too.
    std::mt19937 random(20261207);
    for (int round = 0; round < 500; ++round) {
        QByteArray name(static_cast<qsizetype>(random() % 12), Qt::Uninitialized);
        for (char& byte : name)
            byte = static_cast<char>(random() % 2 ? 0x80 + random() % 0x80 : 1 + random() % 0x7F);
        name.insert(static_cast<qsizetype>(random() % (name.size() + 1)), bytes);
        QCOMPARE(encodeNativeName(decodeNativeName(name)), name);
    }
    QVERIFY(decodeNativeName("a\xff.dg") != decodeNativeName("a\xef\xbf\xbd.dg"));
    // An encoded surrogate is no UTF-8: each of its bytes stands alone.
    QCOMPARE(decodeNativeName("\xc3\xa9\xed\xa0\x80"),
             QString(QChar(0xE9)) + QChar(0xDCED) + QChar(0xDCA0) + QChar(0xDC80));
    QVERIFY(sameIgnoringAsciiCase(QStringLiteral("KADRIX.EXE"), QStringLiteral("Kadrix.exe")));
    QVERIFY(
        !sameIgnoringAsciiCase(QStringLiteral("\u212Aadrix.exe"), QStringLiteral("Kadrix.exe")));
    QVERIFY(!sameIgnoringAsciiCase(QStringLiteral("\u017Fcalvane.exe"),
                                   QStringLiteral("Scalvane.exe")));
    QCOMPARE(foldedAsciiCase(QStringLiteral("\u00C9WALK")), QStringLiteral("\u00C9walk"));
}

void PlatformTest::resolvesLetterCase_data()
{
    // clang-format off
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("found");

    QTest::newRow("exact") << "Data/Walk1.DG" << "Data/Walk1.DG";
    QTest::newRow("upper case") << "DATA/WALK1.DG" << "Data/Walk1.DG";
    QTest::newRow("missing file kept as asked") << "DATA/RUN2.DG" << "Data/RUN2.DG";
    QTest::newRow("missing directory ends the lookup") << "NONE/WALK1.DG" << "NONE/WALK1.DG";
    QTest::newRow("doubled separator") << "DATA//walk1.dg" << "Data/Walk1.DG";
    QTest::newRow("twin asked exactly: lower") << "Data/trial.dg" << "Data/trial.dg";
    QTest::newRow("twin asked exactly: upper") << "Data/TRIAL.DG" << "Data/TRIAL.DG";
    QTest::newRow("no Kelvin sign for K") << "Data/Kadrix.exe" << "Data/Kadrix.exe";
    QTest::newRow("no long s for s") << "Data/scalvane.exe" << "Data/scalvane.exe";
    QTest::newRow("beyond ASCII only as written") << "DATA/M\u00DCller.dg" << "Data/M\u00DCller.dg";
    QTest::newRow("beyond ASCII, A to Z folded") << "DATA/M\u00FCLLER.DG" << "Data/M\u00FCller.dg";
    QTest::newRow("byte-order mark kept") << "DATA/\uFEFFWALK1.DG" << "Data/\uFEFFWalk1.DG";
    // clang-format on
}

void PlatformTest::resolvesLetterCase()
{
    QFETCH(QString, asked);
    QFETCH(QString, found);
    QTemporaryDir root;
    for (const char* name :
         {"Data/Walk1.DG", "Data/trial.dg", "Data/TRIAL.DG", "Data/\u212Aadrix.exe",
          "Data/\u017Fcalvane.exe", "Data/M\u00FCller.dg", "Data/\uFEFFWalk1.DG"})
        writeFile(root.filePath(QString::fromUtf8(name)));
    const QString base = root.path() + QLatin1Char('/');
    // Where the file system ignores letter case, every name asked is there
    // as written, and is the file meant.
    QCOMPARE(resolvePathCase(base + asked), base + (test::namesIgnoreLetterCase() ? asked : found));
}

void PlatformTest::fileTestsOpenOnlyRegularFiles()
{
    QTemporaryDir root;
    QStringList specials = test::waitingDevices() << root.path();
    const QString pipe = root.filePath(QStringLiteral("walk1.sn"));
    if (test::makeNamedPipe(pipe))
        specials << pipe;
    writeFile(root.filePath(QStringLiteral("walk1.dg")), "x");
    // A blocking open of a pipe or the terminal would never return.
    for (const QString& special : specials)
        QCOMPARE(TestFileSilent(QString(), special), int(kPathFileAccessError));
    QCOMPARE(TestFileSilent(root.path(), QStringLiteral("WALK1.DG")), 0);
    QCOMPARE(TestFileSilent(root.path(), QStringLiteral("walk2.dg")), int(kFileNotFound));
    QFile file;
    QVERIFY(!openRegularFile(file, root.filePath(QStringLiteral("walk1.dg"))));
    QCOMPARE(file.readAll(), QByteArray("x"));
}

void PlatformTest::twipsAndPaths()
{
    QCOMPARE(twipsRect(7320, 120, 1215, 615), QRect(488, 8, 81, 41));
    QVERIFY(isFileSystemRoot(QStringLiteral("//")) && !isFileSystemRoot(QStringLiteral("/tmp")));
    QCOMPARE(joinPath(QString(), QStringLiteral("a.dg")), QStringLiteral("a.dg"));
    QCOMPARE(joinPath(QStringLiteral("/data/"), QStringLiteral("a.dg")), "/data//a.dg");
}

// A box is centred on the window the user works in, not on the first one.
void PlatformTest::boxesAppearOverTheWindowInUse()
{
    QWidget first;
    QWidget second;
    first.setGeometry(0, 0, 300, 200);
    second.setGeometry(500, 400, 300, 200);
    first.show();
    second.show();
    QtMessages messages;
    const auto boxCentre = [&messages] {
        QPoint centre;
        QTimer::singleShot(0, [&centre] {
            QWidget* box = QApplication::activeModalWidget();
            centre = box->geometry().center();
            box->close();
        });
        messages.showMessage({QStringLiteral("Saved."),
                              QStringLiteral("Kadrix"),
                              MessageButtons::Ok,
                              MessageIcon::None,
                              {}});
        return centre;
    };
    for (QWidget* window : {&second, &first, &second}) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QVERIFY((boxCentre() - window->geometry().center()).manhattanLength() < 8);
    }
}

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
