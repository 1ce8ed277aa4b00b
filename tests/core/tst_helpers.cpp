// The file-name, command-line and number helpers.

#include "FakeMessages.h"
#include "TestFiles.h"
#include "core/AppState.h"
#include "core/DesktopCommandLine.h"
#include "core/FileNames.h"
#include "core/FileTest.h"
#include "core/Fixed5.h"
#include "core/InstallLayout.h"
#include "core/StartRequests.h"
#include "core/TrialCaption.h"
#include "core/VersionText.h"
#include "platform/NativeNames.h"

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
    void installedDocumentsServeWhenTheProgramDirectoryHasNone();
    void fileNames_data();
    void fileNames();
    void trialTexts();
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
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("files"); // the paths that name existing files
    QTest::addColumn<QString>("trialPath");
    QTest::addColumn<QString>("dataDir");

    // No argument names a file: the classic word rule.
    QTest::newRow("nothing") << QStringList{} << QStringList{} << "" << "/stored";
    QTest::newRow("trial only") << QStringList{"run1.dg"} << QStringList{} << "run1.dg" << "/stored";
    QTest::newRow("switch before trial") << QStringList{"/q", "run1.dg"} << QStringList{} << "run1.dg" << "/current";
    QTest::newRow("switches only") << QStringList{"-x", "-y"} << QStringList{} << "" << "/current";
    QTest::newRow("blanks and tabs") << QStringList{"  \t-a \t\t b.dg   c  "} << QStringList{} << "b.dg" << "/current";
    QTest::newRow("first trial wins") << QStringList{"-a /b c.dg d.dg"} << QStringList{} << "c.dg" << "/current";
    QTest::newRow("lone dash and slash") << QStringList{"-", "/"} << QStringList{} << "" << "/current";
    QTest::newRow("quotes are ordinary") << QStringList{"\"C:\\My Data\\x.dg\""} << QStringList{} << "\"C:\\My" << "/stored";
    QTest::newRow("eleventh word") << QStringList{"-1 -2 -3 -4 -5 -6 -7 -8 -9 -10 walk.dg"} << QStringList{} << "" << "/current";
    QTest::newRow("missing name with blanks") << QStringList{"my walk.dg"} << QStringList{} << "my" << "/stored";
    QTest::newRow("missing absolute path") << QStringList{"/u/walk1.dg"} << QStringList{} << "" << "/current";
    // An argument names a file, as a file manager passes it.
    QTest::newRow("absolute path") << QStringList{"/u/walk1.dg"} << QStringList{"/u/walk1.dg"} << "walk1.dg" << "/u";
    QTest::newRow("name with blanks") << QStringList{"my walk.dg"} << QStringList{"/current/my walk.dg"} << "my walk.dg" << "/current";
    QTest::newRow("relative path") << QStringList{"../t/run 2.DG"} << QStringList{"/t/run 2.DG"} << "run 2.DG" << "/t";
    QTest::newRow("after a switch") << QStringList{"/q", "/u/a b.dg"} << QStringList{"/u/a b.dg"} << "a b.dg" << "/u";
    // clang-format on
}

void HelpersTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, files);
    QFETCH(QString, trialPath);
    QFETCH(QString, dataDir);

    // The table's absolute paths, on this host's first drive; an argument
    // that names a file is such a path too.
    const QString drive = QDir::rootPath().chopped(1);
    const auto onHost = [&](const QString& path) { return drive + path; };
    for (QString& argument : arguments)
        argument = files.contains(argument) ? onHost(argument) : argument;
    for (QString& file : files)
        file = onHost(file);
    AppState state;
    state.DataDir = onHost(QStringLiteral("/stored"));
    readCommandLine(state, arguments, arguments.join(QLatin1Char(' ')),
                    onHost(QStringLiteral("/current")),
                    [&files](const QString& path) { return files.contains(path); });
    QCOMPARE(state.TrialPath, trialPath);
    QCOMPARE(state.DataDir, onHost(dataDir));
    QCOMPARE(infoRequestOf(arguments), InfoRequest::None);
    QCOMPARE(infoRequestOf(arguments << "--version"
                                     << "--help"),
             InfoRequest::Version);
}

void HelpersTest::installedDocumentsServeWhenTheProgramDirectoryHasNone()
{
    QTemporaryDir root;
    const QString prog = root.filePath(QStringLiteral("prog"));
    const QString share = root.filePath(QStringLiteral("share"));
    for (const QString& directory : {share, prog}) {
        writeFile(directory + QStringLiteral("/overview.txt"), "x");
        writeFile(directory + QStringLiteral("/manuals/KADRIX.PDF"), "x");
        QCOMPARE(helpTextDirectory(prog, QStringLiteral("Overview.txt"), share), directory);
        QCOMPARE(manualsDirectory(prog, share), directory + QStringLiteral("/manuals/"));
    }
}

void HelpersTest::fileNames_data()
{
    // clang-format off
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stripped");
    QTest::addColumn<QString>("extension");

    // StripExt and GetExt count every dot; splitExtension only the file name's.
    QTest::addColumn<QString>("stem");
    QTest::addColumn<QString>("pathExtension");

    QTest::newRow("plain") << "run1.dg" << "run1" << "dg" << "run1" << "dg";
    QTest::newRow("two dots") << "a.b.c" << "a.b" << "c" << "a.b" << "c";
    QTest::newRow("leading dot only") << ".dg" << ".dg" << "dg" << ".dg" << "";
    QTest::newRow("trailing dot") << "abc." << "abc" << "" << "abc" << "";
    QTest::newRow("dot in directory") << "/data.old/run1" << "/data" << "old/run1" << "/data.old/run1" << "";
    QTest::newRow("dot in both") << "/d.1/walk.dg" << "/d.1/walk" << "dg" << "/d.1/walk" << "dg";
    QTest::newRow("no dot") << "README" << "README" << "README" << "README" << "";
    QTest::newRow("empty") << "" << "" << "" << "" << "";
    // clang-format on
}

void HelpersTest::fileNames()
{
    QFETCH(QString, name);
    QFETCH(QString, stripped);
    QFETCH(QString, extension);
    QFETCH(QString, stem);
    QFETCH(QString, pathExtension);
    QCOMPARE(StripExt(name), stripped);
    QCOMPARE(GetExt(name), extension);
    const SplitName split = splitExtension(name);
    QCOMPARE(split.stem, stem);
    QCOMPARE(split.extension, pathExtension);
}

// The texts built from the trial in one place each: the label's caption and
// a companion program's path.
void HelpersTest::trialTexts()
{
    QCOMPARE(trialCaption(QStringLiteral("walk1")), QStringLiteral("Selected file: WALK1"));
    QCOMPARE(trialCaption(QStringLiteral("walk1"), QStringLiteral("DG")),
             QStringLiteral("Selected file: WALK1.DG"));
    QCOMPARE(trialCaption(QStringLiteral("readme"), QString()),
             QStringLiteral("Selected file: README."));
    QCOMPARE(trialCaption(decodeNativeName("m\xfcller"), QStringLiteral("DG")),
             QStringLiteral("Selected file: M\\xFCLLER.DG"));
    AppState state;
    state.ProgDir = QStringLiteral("/opt/suite");
    chooseCompanion(state, QStringLiteral("Xfer2DG"));
    QCOMPARE(state.ProgName, QStringLiteral("Xfer2DG"));
    QCOMPARE(state.ProgPath, QStringLiteral("/opt/suite/Xfer2DG.exe"));
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
