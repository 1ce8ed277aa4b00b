// How starts map onto this system: companions found regardless of case, Windows
// programs through Wine, the desktop's own tools, the names a Windows program
// is refused, the paths Windows programs see and the settings put in Wine's
// registry.

#include "TestFiles.h"
#include "platform/HostPrograms.h"
#include "platform/NativeNames.h"
#include "platform/WineRegistry.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace kadrix;
using namespace kadrix::test;

namespace {

void makeProgram(const QString& path, const QByteArray& contents = "#!/bin/sh\nexit 0\n")
{
    writeFile(path, contents);
    if (contents.startsWith("#!"))
        ::chmod(encodeNativeName(path).constData(), 0700);
}

// A directory named "prog" and the byte 0xFE, which is no UTF-8; beside it,
// "prog\uFFFD" looks the same once that byte is decoded as Qt decodes it.
QString oddProgDir()
{
    return QStringLiteral("prog") + QChar(0xDCFE);
}

// The headers of a Windows executable: "MZ", then the header it points to.
QByteArray windowsHeader(const char* signature, quint16 machine = 0, char offset = 0x40)
{
    QByteArray head = "MZ" + QByteArray(0x7E, '\0');
    head[0x3C] = offset;
    head.replace(0x40, 2, signature);
    head[0x44] = char(machine & 0xFF);
    head[0x45] = char(machine >> 8);
    return head;
}

} // namespace

class HostProgramsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void programs_data();
    void programs();
    void namesForWindows_data();
    void namesForWindows();
    void windowsPaths();
    void settingsImportFile();
};

void HostProgramsTest::programs_data()
{
    // clang-format off
    QTest::addColumn<QString>("program"); // "@" is the directory holding prog/ and data/
    QTest::addColumn<QByteArray>("file"); // prog/Kadrix.exe; a script, or not a program
    QTest::addColumn<QStringList>("onPath"); // "wine-i386" stands for Wine's 32-bit loader
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QStringList>("expected"); // the program, then its arguments; "$" is the PATH
    QTest::addColumn<QString>("failure");

    const QByteArray script = "#!/bin/sh\n";
    QTest::newRow("the variable wins") << "notepad.exe" << script << QStringList{"gedit", "my-editor"} << "KADRIX_NOTEPAD=my-editor --new"
        << QStringList{"$/my-editor", "--new", "./WALK1.DG"} << "";
    QTest::newRow("the variable names nothing") << "notepad.exe" << script << QStringList{"gedit"} << "KADRIX_NOTEPAD=my-editor" << QStringList{} << "KADRIX_NOTEPAD";
    QTest::newRow("first of the list") << "NOTEPAD.EXE" << script << QStringList{"kate", "gedit"} << "" << QStringList{"$/gedit", "./WALK1.DG"} << "";
    QTest::newRow("opener on a file") << "notepad.exe" << script << QStringList{"xdg-open"} << "" << QStringList{"$/xdg-open", "./WALK1.DG"} << "";
    QTest::newRow("file manager by the opener") << "Explorer.exe" << script << QStringList{"xdg-open"} << "" << QStringList{"$/xdg-open", "./WALK1.DG"} << "";
    QTest::newRow("no calculator") << "calc.exe" << script << QStringList{} << "" << QStringList{} << "variable KADRIX_CALCULATOR.";
    QTest::newRow("as on the disk") << "@/prog/Kadrix.exe" << script << QStringList{} << "" << QStringList{"@/prog/Kadrix.exe", "WALK1.DG"} << "";
    QTest::newRow("upper case, no .exe") << "@/PROG/KADRIX" << script << QStringList{} << "" << QStringList{"@/prog/Kadrix.exe", "WALK1.DG"} << "";
    const QString odd = QStringLiteral("@/") + oddProgDir() + QStringLiteral("/Kadrix.exe");
    QTest::newRow("in a directory that is no UTF-8") << odd << script << QStringList{} << "" << QStringList{odd, "WALK1.DG"} << "";
    QTest::newRow("relative to the working directory") << "../prog/kadrix.exe" << script << QStringList{} << "" << QStringList{"@/prog/Kadrix.exe", "WALK1.DG"} << "";
    QTest::newRow("64-bit Windows program") << "@/prog/Kadrix.exe" << windowsHeader("PE", 0x8664) << QStringList{"wine"} << ""
        << QStringList{"$/wine", "@/prog/Kadrix.exe", "WALK1.DG"} << "";
    QTest::newRow("Wine named, with arguments") << "@/prog/Kadrix.exe" << windowsHeader("PE", 0x14C) << QStringList{"wine"}
        << "KADRIX_WINE=/opt/loader --quiet" << QStringList{"/opt/loader", "--quiet", "@/prog/Kadrix.exe", "WALK1.DG"} << "";
    QTest::newRow("unknown header") << "@/prog/Kadrix.exe" << windowsHeader("PE", 0x14C, 0x7C) << QStringList{"wine"} << ""
        << QStringList{"$/wine", "@/prog/Kadrix.exe", "WALK1.DG"} << "";
    QTest::newRow("32-bit") << "@/prog/Kadrix.exe" << windowsHeader("PE", 0x14C) << QStringList{"wine"} << "" << QStringList{}
        << "It is a 32-bit Windows program, and the 32-bit part of Wine is not installed. On Debian or Ubuntu, install it with:\n"
           "sudo dpkg --add-architecture i386\nsudo apt-get update\nsudo apt-get install wine32:i386";
    QTest::newRow("32-bit, Wine's 32-bit part there") << "@/prog/Kadrix.exe" << windowsHeader("PE", 0x14C) << QStringList{"wine", "wine-i386"} << ""
        << QStringList{"$/wine", "@/prog/Kadrix.exe", "WALK1.DG"} << "";
    QTest::newRow("16-bit") << "@/prog/Kadrix.exe" << windowsHeader("NE") << QStringList{"wine"} << "" << QStringList{} << "16-bit part of Wine";
    QTest::newRow("not a program") << "@/prog/Kadrix.exe" << QByteArray("plain text") << QStringList{} << "" << QStringList{} << "not a program that can";
    QTest::newRow("missing") << "@/prog/Missing.exe" << script << QStringList{} << "" << QStringList{} << "file was not found.";
    QTest::newRow("directory") << "@/prog" << script << QStringList{} << "" << QStringList{} << "It is a directory, not a program.";
    // clang-format on
}

void HostProgramsTest::programs()
{
    QFETCH(QString, program);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, onPath);
    QFETCH(QString, variable);
    QFETCH(QStringList, expected);
    QFETCH(QString, failure);
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("bin"));
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), bin);
    if (!variable.isEmpty())
        environment.insert(variable.section(QLatin1Char('='), 0, 0),
                           variable.section(QLatin1Char('='), 1));
    makeDirectory(root.filePath(QStringLiteral("data")));
    makeDirectory(root.filePath(QStringLiteral("prog")));
    makeProgram(root.filePath(QStringLiteral("prog/Kadrix.exe")), file);
    writeFile(root.filePath(QStringLiteral("prog\uFFFD/Kadrix.exe")),
              "no program"); // the lookalike
    makeProgram(root.filePath(oddProgDir() + QStringLiteral("/Kadrix.exe")), file);
    for (const QString& name : onPath)
        makeProgram(bin + QLatin1Char('/') + name);
    for (QString& word : expected) { // no regular expression: they refuse undecoded bytes
        if (word.startsWith(QLatin1Char('$')))
            word.replace(0, 1, bin);
        else if (word.startsWith(QLatin1Char('@')))
            word.replace(0, 1, root.path());
    }

    ProgramToStart target =
        HostPrograms(environment, {bin + QStringLiteral("/wine-i386")})
            .map(program.replace(QLatin1Char('@'), root.path()), {QStringLiteral("WALK1.DG")},
                 root.filePath(QStringLiteral("data")));
    target.program = QDir::cleanPath(target.program);
    QCOMPARE(QStringList(target.program) + target.arguments,
             expected.isEmpty() ? QStringList{QString()} : expected);
    QVERIFY2(target.failure.contains(failure) && failure.isEmpty() == target.failure.isEmpty(),
             qPrintable(target.failure));
}

void HostProgramsTest::namesForWindows_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("file"); // the program: a Windows program, or a script
    QTest::addColumn<QString>("program"); // under the temporary root
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("workingDirectory"); // under the temporary root
    QTest::addColumn<QString>("failure"); // empty: started through Wine, or directly

    const QByteArray windows = windowsHeader("PE", 0x8664), script = "#!/bin/sh\n";
    const QString odd = QStringLiteral("walk") + QChar(0xDCE9) + QStringLiteral(".dg"); // the byte E9
    const QString rename = ". Rename it to start the program on it.";
    QTest::newRow("switches and plain names") << windows << "prog/Kadrix.exe" << QStringList{"/q", "/1", "/r", "/V1", "/S4", "/?", "my trial (1).dg", "sub/walk1.dg"} << "data" << "";
    QTest::newRow("backslash in a file") << windows << "prog/Kadrix.exe" << QStringList{"/q", "x\\walk1.dg"} << "data"
        << "The file name, \"x\\walk1.dg\", holds \"\\\" or \":\", which a Windows program reads as a directory or a drive, so that it would open another file" + rename;
    QTest::newRow("colon in a file") << windows << "prog/Kadrix.exe" << QStringList{"c:walk1.dg"} << "data" << "The file name, \"c:walk1.dg\", holds \"\\\" or \":\"";
    QTest::newRow("bytes that are no UTF-8 in a file") << windows << "prog/Kadrix.exe" << QStringList{odd} << "data"
        << "The file name, \"walk\\xE9.dg\", holds bytes that are not UTF-8 text, which a Windows program cannot receive as they are" + rename;
    QTest::newRow("backslash in the directory") << windows << "prog/Kadrix.exe" << QStringList{"walk1.dg"} << "da\\ta" << "The directory to start it in, \"@/da\\ta\", holds \"\\\"";
    QTest::newRow("colon in the directory") << windows << "prog/Kadrix.exe" << QStringList{"walk1.dg"} << "da:ta" << "The directory to start it in, \"@/da:ta\", holds \"\\\"";
    QTest::newRow("bytes that are no UTF-8 in the directory") << windows << "prog/Kadrix.exe" << QStringList{"walk1.dg"} << odd << "The directory to start it in, \"@/walk\\xE9.dg\", holds bytes";
    QTest::newRow("backslash in the program's path") << windows << "pr\\og/Kadrix.exe" << QStringList{"walk1.dg"} << "data" << "Its path, \"@/pr\\og/Kadrix.exe\", holds \"\\\"";
    QTest::newRow("a program of this system takes them") << script << "prog/Kadrix.exe" << QStringList{"x\\walk1.dg", "c:", odd} << "da\\ta" << "";
    // clang-format on
}

// The names a Windows program would read otherwise are refused before
// anything starts; switches and plain names go through.
void HostProgramsTest::namesForWindows()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, workingDirectory);
    QFETCH(QString, failure);
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("bin"));
    makeProgram(bin + QStringLiteral("/wine"));
    makeProgram(root.filePath(program), file);
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), bin);

    const ProgramToStart target =
        HostPrograms(environment)
            .map(root.filePath(program), arguments, root.filePath(workingDirectory));
    failure.replace(QLatin1Char('@'), root.path());
    QVERIFY2(failure.isEmpty() ? target.failure.isEmpty() : target.failure.startsWith(failure),
             qPrintable(target.failure));
    if (failure.isEmpty())
        QCOMPARE(target.arguments.mid(target.arguments.size() - arguments.size()), arguments);
}

void HostProgramsTest::windowsPaths()
{
    const QList<WineDrive> drives{{'C', "/h/.wine/drive_c"}, {'D', "/data"}, {'Z', "/"}};
    QCOMPARE(windowsPathOf("/data/walk 1", drives), "D:\\walk 1");
    QCOMPARE(windowsPathOf("/h/.wine/drive_c", drives), "C:\\");
    QCOMPARE(windowsPathOf("/database/x", drives), "Z:\\database\\x");
}

// The settings reach Wine's registry as their bytes: a value holding line
// breaks, quotes, backslashes and brackets stays one value and starts no line
// (no key, no value) of its own.
void HostProgramsTest::settingsImportFile()
{
    const QString data = QStringLiteral("Z:\\d\"\r\n[HKEY_CURRENT_USER]\r\n@=dword:1\n[x]\\\u00e9");
    const QByteArray file = kadrix::settingsImportFile(data, QStringLiteral("Z:\\p"));
    QVERIFY(file.startsWith("\xFF\xFE"));
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(file.constData() + 2),
                                            (file.size() - 2) / 2);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 6); // the last one empty
    QCOMPARE(lines.at(2),
             "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Movarta\\Startup]");
    const QStringList names{QStringLiteral("\"Datadir\"=hex(1):"),
                            QStringLiteral("\"Progdir\"=hex(1):")};
    const QStringList values{data, QStringLiteral("Z:\\p")};
    for (int i = 0; i < 2; ++i) {
        QVERIFY2(lines.at(3 + i).startsWith(names.at(i)), qPrintable(lines.at(3 + i)));
        const QByteArray bytes =
            QByteArray::fromHex(lines.at(3 + i).mid(names.at(i).size()).remove(',').toLatin1());
        QCOMPARE(QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()),
                                    bytes.size() / 2),
                 values.at(i) + QChar(0));
    }
}

QTEST_GUILESS_MAIN(HostProgramsTest)
#include "tst_hostprograms.moc"
