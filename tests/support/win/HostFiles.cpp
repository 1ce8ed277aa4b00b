#include "HostFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <windows.h>

namespace kadrix::test {

// Written through the name, never deleting it first: a name whose file a
// reader still holds open stays taken until the reader lets go.
bool writeWholeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(contents) == contents.size();
}

// The stand-in is named by a path of the Linux host that builds the tests,
// which Wine shows on drive Z:.
OtherProgramHolding::OtherProgramHolding(const QString& path)
{
    QString standin = qEnvironmentVariable("KADRIX_WINSTANDIN");
    if (standin.startsWith(u'/'))
        standin.prepend(QStringLiteral("Z:"));
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KADRIX_STANDIN_HOLD"), QDir::toNativeSeparators(path));
    process->setProcessEnvironment(environment);
    process->start(standin, {});
    while (process->waitForReadyRead(30000) && !process->canReadLine()) {
    }
    if (process->readLine().trimmed() == "held")
        process_ = std::move(process);
}

OtherProgramHolding::~OtherProgramHolding()
{
    if (!process_)
        return;
    process_->closeWriteChannel();
    if (!process_->waitForFinished(30000))
        process_->kill();
}

bool makeNamedPipe(const QString&)
{
    return false;
}

bool makeSymbolicLink(const QString&, const QString&)
{
    return false;
}

QStringList waitingDevices()
{
    return {};
}

bool namesIgnoreLetterCase()
{
    return true;
}

bool namesMayBeAnyBytes()
{
    return false;
}

bool linuxStandInRuns()
{
    return false;
}

bool runShellCommand(const QString& directory, const QString&, const QString& windows)
{
    QProcess shell;
    shell.setWorkingDirectory(directory);
    shell.start(QStringLiteral("cmd"), {QStringLiteral("/c"), windows});
    return shell.waitForFinished(120000) && shell.exitStatus() == QProcess::NormalExit &&
           shell.exitCode() == 0;
}

bool currentDirectoryCanBeRemoved()
{
    return false;
}

// Wine's own ntdll tells its version; Windows' has no such function.
bool underWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

} // namespace kadrix::test
