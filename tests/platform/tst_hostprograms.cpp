// How starts map onto this system: companions found regardless of case, Windows
// programs through Wine, the desktop's own tools, the paths Windows programs see.

#include "TestFiles.h"
#include "platform/HostPrograms.h"
#include "platform/WineRegistry.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace kadrix;
using namespace kadrix::test;

namespace {

void makeProgram(const QString& path, const QByteArray& contents = "#!/bin/sh\nexit 0\n")
{
    writeFile(path, contents);
    if (contents.startsWith("#!"))
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
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
    void windowsPaths();
};

void HostProgramsTest::programs_data()
{
    // clang-format off
    QTest::addColumn<QString>("program"); // "@" is the directory holding prog/ and data/
    QTest::addColumn<QByteArray>("file"); // prog/Kadrix.exe; a script, or not a program
    QTest::addColumn<QStringList>("onPath");
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
    if (failure.contains(QLatin1String("part of Wine")) &&
        QFile::exists(QStringLiteral("/usr/lib/wine/wine")))
        QSKIP("The 32-bit part of Wine is installed here");
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
    for (const QString& name : onPath)
        makeProgram(bin + QLatin1Char('/') + name);
    expected.replaceInStrings(QRegularExpression(QStringLiteral("^\\$")), bin);
    expected.replaceInStrings(QRegularExpression(QStringLiteral("^@")), root.path());

    ProgramToStart target =
        HostPrograms(environment)
            .map(program.replace(QLatin1Char('@'), root.path()), {QStringLiteral("WALK1.DG")},
                 root.filePath(QStringLiteral("data")));
    target.program = QDir::cleanPath(target.program);
    QCOMPARE(QStringList(target.program) + target.arguments,
             expected.isEmpty() ? QStringList{QString()} : expected);
    QVERIFY2(target.failure.contains(failure) && failure.isEmpty() == target.failure.isEmpty(),
             qPrintable(target.failure));
}

void HostProgramsTest::windowsPaths()
{
    const QList<WineDrive> drives{{'C', "/h/.wine/drive_c"}, {'D', "/data"}, {'Z', "/"}};
    QCOMPARE(windowsPathOf("/data/walk 1", drives), "D:\\walk 1");
    QCOMPARE(windowsPathOf("/h/.wine/drive_c", drives), "C:\\");
    QCOMPARE(windowsPathOf("/database/x", drives), "Z:\\database\\x");
}

QTEST_GUILESS_MAIN(HostProgramsTest)
#include "tst_hostprograms.moc"
