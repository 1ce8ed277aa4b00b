#pragma once

#include <QProcessEnvironment>
#include <QStringList>

#include <optional>

namespace kadrix {

// The host system's own tools that the front-end starts by their classic
// names: "notepad.exe", "calc.exe", "command.com" and "explorer.exe".
enum class SystemTool { TextEditor, Calculator, Terminal, FileManager };

// What actually runs for a start request on this system, or why nothing can.
struct ProgramToStart {
    QString program;
    QStringList arguments;
    QString failure;       // empty when the program can be started
    QStringList wine = {}; // for a Windows program: Wine's loader and its own arguments

    bool operator==(const ProgramToStart&) const = default;
};

// Maps the programs the front-end names to what runs on this system:
// companion programs are found regardless of letter case, with ".exe" tried
// for a bare name; a Windows executable is started through Wine; the system
// tools are the desktop's own, chosen by an environment variable, else the
// first of a list of well-known programs found on the PATH. Files handed to
// a system tool never read as options; companion programs get them as given.
// A Windows program is refused a name that Windows would read otherwise.
class HostPrograms {
public:
    // `wine32Loaders`: where Wine's 32-bit loader may be, by default where
    // Debian and Ubuntu put it.
    explicit HostPrograms(
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment(),
        QStringList wine32Loaders = defaultWine32Loaders());

    static QStringList defaultWine32Loaders();

    ProgramToStart map(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory) const;

    static std::optional<SystemTool> systemToolNamed(const QString& program);
    // The environment variable that names the tool, and the programs tried
    // after it, in order.
    static QString variableFor(SystemTool tool);
    static QStringList candidatesFor(SystemTool tool);

private:
    ProgramToStart mapSystemTool(SystemTool tool, const QStringList& arguments,
                                 const QString& workingDirectory) const;
    ProgramToStart namedSystemTool(SystemTool tool, const QStringList& files) const;
    ProgramToStart mapProgramFile(const QString& program, const QStringList& arguments,
                                  const QString& workingDirectory) const;
    ProgramToStart throughWine(const QString& path, const QStringList& arguments,
                               const QString& workingDirectory) const;
    QString findOnPath(const QString& name) const;
    QStringList commandFromVariable(const QString& variable) const;
    QStringList wineCommand() const;
    bool hasWine32(const QStringList& wine) const;

    QProcessEnvironment environment_;
    QStringList wine32Loaders_;
};

} // namespace kadrix
