#include "platform/DetachedStart.h"

#include "platform/win/WindowsErrors.h"

#include <QDir>
#include <QStandardPaths>

#include <string>
#include <vector>
#include <windows.h>

namespace kadrix {

namespace {

// The program's path: a bare name is looked for on the PATH (with the
// PATHEXT extensions); a relative path is taken in the directory it starts
// in, as the system does where a program changes directory before it runs.
QString programPath(const QString& program, const QString& workingDirectory)
{
    if (!program.contains(QLatin1Char('/')) && !program.contains(QLatin1Char('\\'))) {
        const QString found = QStandardPaths::findExecutable(program);
        return found.isEmpty() ? program : found;
    }
    if (QDir::isRelativePath(program) && !workingDirectory.isEmpty())
        return QDir(workingDirectory).filePath(program);
    return program;
}

// One argument as the program's startup code (CommandLineToArgvW and the C
// runtime) splits it back out of the command line: quoted when it holds a
// blank or a quote or is empty, a quote escaped, and the backslashes before
// a quote or the closing quote doubled.
std::wstring quoted(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring text(1, L'"');
    size_t backslashes = 0;
    for (const wchar_t character : argument) {
        if (character == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(character == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        text.push_back(character);
        backslashes = 0;
    }
    text.append(backslashes * 2, L'\\');
    text.push_back(L'"');
    return text;
}

// The program's own name is split without escapes: it is only quoted.
std::wstring commandLine(const std::wstring& program, const QStringList& arguments)
{
    std::wstring line = L'"' + program + L'"';
    for (const QString& argument : arguments)
        line += L' ' + quoted(argument.toStdWString());
    return line;
}

// The standard handles the program gets, and only those: its input from
// the null device, its output and errors where the front-end's go. No other
// handle of the front-end's is inherited.
class StandardHandles {
public:
    StandardHandles()
    {
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        input_ = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, 0, nullptr);
        if (input_ == INVALID_HANDLE_VALUE)
            input_ = nullptr;
        output_ = inheritableCopy(GetStdHandle(STD_OUTPUT_HANDLE));
        errors_ = inheritableCopy(GetStdHandle(STD_ERROR_HANDLE));
        for (const HANDLE handle : {input_, output_, errors_}) {
            if (handle)
                inherited_.push_back(handle);
        }
    }
    ~StandardHandles()
    {
        if (list_)
            DeleteProcThreadAttributeList(list_);
        for (const HANDLE handle : inherited_)
            CloseHandle(handle);
    }
    StandardHandles(const StandardHandles&) = delete;
    StandardHandles& operator=(const StandardHandles&) = delete;

    // Fills in `startup`; false, with the system's error, when it cannot.
    bool fill(STARTUPINFOEXW& startup)
    {
        if (!input_)
            return false;
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        storage_.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
        if (!InitializeProcThreadAttributeList(list, 1, 0, &size))
            return false;
        list_ = list;
        if (!UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                       inherited_.data(), inherited_.size() * sizeof(HANDLE),
                                       nullptr, nullptr))
            return false;
        startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
        startup.StartupInfo.hStdInput = input_;
        startup.StartupInfo.hStdOutput = output_;
        startup.StartupInfo.hStdError = errors_;
        startup.lpAttributeList = list_;
        return true;
    }

private:
    static HANDLE inheritableCopy(HANDLE handle)
    {
        HANDLE copy = nullptr;
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
            !DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE,
                             DUPLICATE_SAME_ACCESS))
            return nullptr;
        return copy;
    }

    HANDLE input_ = nullptr;
    HANDLE output_ = nullptr;
    HANDLE errors_ = nullptr;
    std::vector<HANDLE> inherited_;
    std::vector<char> storage_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// A program started in a group of its own and without the front-end's
// console, out of the front-end's job where the job allows it, so that it
// outlives the front-end.
bool createDetached(const std::wstring& program, std::wstring& line, const std::wstring& directory,
                    STARTUPINFOEXW& startup, PROCESS_INFORMATION& process)
{
    const DWORD flags = CREATE_NEW_PROCESS_GROUP | DETACHED_PROCESS | EXTENDED_STARTUPINFO_PRESENT;
    for (const DWORD breakaway : {DWORD(CREATE_BREAKAWAY_FROM_JOB), DWORD(0)}) {
        if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, flags | breakaway,
                           nullptr, directory.empty() ? nullptr : directory.c_str(),
                           &startup.StartupInfo, &process))
            return true;
        if (GetLastError() != ERROR_ACCESS_DENIED)
            return false;
    }
    return false;
}

} // namespace

DetachedStart startDetached(const QString& program, const QStringList& arguments,
                            const QString& workingDirectory, StartWatch watch)
{
    const std::wstring path =
        QDir::toNativeSeparators(programPath(program, workingDirectory)).toStdWString();
    std::wstring line = commandLine(path, arguments);
    const std::wstring directory = QDir::toNativeSeparators(workingDirectory).toStdWString();
    StandardHandles handles;
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!handles.fill(startup) || !createDetached(path, line, directory, startup, process))
        return {0, describeWindowsError(GetLastError())};
    CloseHandle(process.hThread);
    const qint64 id = process.dwProcessId;
    if (watch == StartWatch::No) {
        CloseHandle(process.hProcess);
        return {id, {}};
    }
    return {id, {}, reinterpret_cast<qintptr>(process.hProcess), 0};
}

// The program's id is known at once here: there is nothing in between for a
// test to hold.
void setBeforeIdReported(void (*)(qint64)) {}

} // namespace kadrix
