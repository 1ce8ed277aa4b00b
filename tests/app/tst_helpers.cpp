// The file-name, command-line and number helpers.

#include "FakeMessages.h"
#include "TestFiles.h"
#include "app/AppState.h"
#include "app/CommandLine.h"
#include "app/FileNames.h"
#include "app/FileTest.h"
#include "app/Fixed5.h"
#include "app/VersionText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kadrix;
using kadrix::test::FakeMessages;
using kadrix::test::writeFile;

class HelpersTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commandLine_data();
    void commandLine();
    void commandLineKeepsStateWithoutArguments();
    void commandLineHonoursMaximum();
    void fileNames_data();
    void fileNames();
    void fixed5_data();
    void fixed5();
    void versionText_data();
    void versionText();
    void testFile_data();
    void testFile();
    void testFileReports();
};

void HelpersTest::commandLine_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("trialPath");
    QTest::addColumn<bool>("dataDirSet");

    QTest::newRow("trial only") << "run1.dg" << QStringList{"run1.dg"} << "run1.dg" << false;
    QTest::newRow("switch before trial") << "/q run1.dg" << QStringList{"/q", "run1.dg"}
        << "run1.dg" << true;
    QTest::newRow("switches only") << "-x -y" << QStringList{"-x", "-y"} << "" << true;
    QTest::newRow("blanks and tabs") << "  \t-a \t\t b.dg   c  " << QStringList{"-a", "b.dg", "c"}
        << "b.dg" << true;
    QTest::newRow("first trial wins") << "-a /b c.dg d.dg"
        << QStringList{"-a", "/b", "c.dg", "d.dg"} << "c.dg" << true;
    QTest::newRow("lone dash and slash") << "- /" << QStringList{"-", "/"} << "" << true;
    QTest::newRow("quotes are ordinary") << "\"C:\\My Data\\x.dg\""
        << QStringList{"\"C:\\My", "Data\\x.dg\""} << "\"C:\\My" << false;
    // clang-format on
}

void HelpersTest::commandLine()
{
    QFETCH(QString, text);
    QFETCH(QStringList, arguments);
    QFETCH(QString, trialPath);
    QFETCH(bool, dataDirSet);

    AppState state;
    state.DataDir = QStringLiteral("/stored");
    const QStringList result = GetCommandLine(state, text, QStringLiteral("/current"));
    QCOMPARE(result, QStringList{QString()} + arguments);
    QCOMPARE(state.TrialPath, trialPath);
    QCOMPARE(state.DataDir, dataDirSet ? QStringLiteral("/current") : QStringLiteral("/stored"));
}

void HelpersTest::commandLineKeepsStateWithoutArguments()
{
    AppState state;
    state.DataDir = QStringLiteral("/stored");
    state.TrialPath = QStringLiteral("kept.dg");
    QCOMPARE(GetCommandLine(state, QString(), QStringLiteral("/current")), QStringList{QString()});
    QCOMPARE(state.DataDir, QStringLiteral("/stored"));
    QCOMPARE(state.TrialPath, QStringLiteral("kept.dg"));
}

void HelpersTest::commandLineHonoursMaximum()
{
    AppState state;
    const QString eleventhIsTrial = QStringLiteral("-1 -2 -3 -4 -5 -6 -7 -8 -9 -10 walk.dg -12");
    const QStringList result = GetCommandLine(state, eleventhIsTrial, QStringLiteral("/current"));
    QCOMPARE(result.size(), 11);
    QCOMPARE(result.last(), QStringLiteral("-10"));
    QVERIFY(state.TrialPath.isEmpty());
    QCOMPARE(GetCommandLine(state, QStringLiteral("a b c"), QString(), 2).size(), 3);
}

void HelpersTest::fileNames_data()
{
    // clang-format off
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stripped");
    QTest::addColumn<QString>("extension");

    QTest::newRow("plain") << "run1.dg" << "run1" << "dg";
    QTest::newRow("two dots") << "a.b.c" << "a.b" << "c";
    QTest::newRow("leading dot only") << ".dg" << ".dg" << "dg";
    QTest::newRow("trailing dot") << "abc." << "abc" << "";
    QTest::newRow("dot in directory") << "C:\\data.old\\run1" << "C:\\data" << "old\\run1";
    QTest::newRow("no dot") << "README" << "README" << "README";
    QTest::newRow("empty") << "" << "" << "";
    // clang-format on
}

void HelpersTest::fileNames()
{
    QFETCH(QString, name);
    QFETCH(QString, stripped);
    QFETCH(QString, extension);
    QCOMPARE(StripExt(name), stripped);
    QCOMPARE(GetExt(name), extension);
}

void HelpersTest::fixed5_data()
{
    // clang-format off
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << 0.0 << "    0";
    QTest::newRow("negative zero") << -0.0 << "    0";
    QTest::newRow("12") << 12.0 << "   12";
    QTest::newRow("-3") << -3.0 << "   -3";
    QTest::newRow("9999") << 9999.0 << " 9999";
    QTest::newRow("12345 limited") << 12345.0 << " 9999";
    QTest::newRow("-12345 limited") << -12345.0 << "-9999";
    QTest::newRow("2.5") << 2.5 << "  2.5";
    QTest::newRow("-2.5") << -2.5 << " -2.5";
    QTest::newRow("123.5 too wide") << 123.5 << "";
    QTest::newRow("0.25") << 0.25 << "  .25";
    QTest::newRow("-0.125") << -0.125 << "-.125";
    QTest::newRow("five significant digits") << 9998.5 << "";
    QTest::newRow("1.2345") << 1.2345 << "";
    QTest::newRow("-999.5 too wide") << -999.5 << "";
    QTest::newRow("0.1 + 0.2 in its shortest form") << 0.1 + 0.2 << "";
    QTest::newRow("four digits and a point") << 12.75 << "";
    QTest::newRow("-1.25 fills five") << -1.25 << "-1.25";
    QTest::newRow("99999.5 limited") << 99999.5 << " 9999";
    // clang-format on
}

void HelpersTest::fixed5()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(Fixed5(value), text);
}

void HelpersTest::versionText_data()
{
    // clang-format off
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("text");

    QTest::newRow("1.6.0.5") << 1 << 6 << 5 << "1.06 (005)";
    QTest::newRow("1.5.0.12") << 1 << 5 << 12 << "1.05 (012)";
    QTest::newRow("wide numbers") << 12 << 345 << 6789 << "12.345 (6789)";
    // clang-format on
}

void HelpersTest::versionText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, text);
    QCOMPARE(versionTextOf({major, minor, revision}), text);
}

void HelpersTest::testFile_data()
{
    // clang-format off
    QTest::addColumn<QString>("directory"); // below the test's own root; "-" for none
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("number");

    QTest::newRow("letter case ignored") << "prog" << "KADRIX.EXE" << 0;
    QTest::newRow("directory in another case") << "PROG" << "kadrix.exe" << 0;
    QTest::newRow("doubled separator") << "prog/" << "Kadrix.exe" << 0;
    QTest::newRow("empty file") << "prog" << "empty.dg" << 0;
    QTest::newRow("no directory: the current one") << "-" << "prog/empty.dg" << 0;
    QTest::newRow("missing file") << "prog" << "missing.dg" << 53;
    QTest::newRow("missing directory") << "nowhere" << "a.dg" << 76;
    QTest::newRow("a directory, not a file") << "" << "prog" << 75;
    QTest::newRow("no name at all") << "-" << "" << 52;
    // clang-format on
}

void HelpersTest::testFile()
{
    QFETCH(QString, directory);
    QFETCH(QString, name);
    QFETCH(int, number);
    QTemporaryDir root;
    writeFile(root.filePath(QStringLiteral("prog/Kadrix.exe")), "x");
    writeFile(root.filePath(QStringLiteral("prog/empty.dg")));
    const QString saved = QDir::currentPath();
    QDir::setCurrent(root.path());
    const QString dir = directory == QLatin1String("-") ? QString() : root.filePath(directory);
    FakeMessages messages;
    QCOMPARE(TestFileSilent(dir, name), number);
    QCOMPARE(TestFile(messages, dir, name, 0), number);
    QVERIFY(messages.boxes.empty());
    QDir::setCurrent(saved);
}

void HelpersTest::testFileReports()
{
    QTemporaryDir root;
    FakeMessages messages;
    QCOMPARE(TestFile(messages, root.path(), QStringLiteral("missing.dg"), 1), 53);
    QCOMPARE(messages.boxes.front(),
             (MessageBox{QStringLiteral("Error opening file: ") +
                             (root.path() + QStringLiteral("/missing.dg")).toUpper() +
                             QStringLiteral("\n\n\"File not found\"  (53)"),
                         kApplicationTitle, MessageButtons::Ok, MessageIcon::Critical}));
    if (!kadrix::test::permissionsAreEnforced())
        return;
    const QString path = root.filePath(QStringLiteral("locked.dg"));
    writeFile(path, "x");
    QFile::setPermissions(path, QFileDevice::Permissions());
    QCOMPARE(TestFile(messages, root.path(), QStringLiteral("locked.dg"), 1), 70);
    QVERIFY(messages.boxes.back().text.endsWith(QStringLiteral("\"Permission denied\"  (70)")));
}

QTEST_GUILESS_MAIN(HelpersTest)
#include "tst_helpers.moc"
