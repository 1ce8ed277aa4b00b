/* A Windows console program that stands in for a companion program when the
 * front-end starts it through Wine. Each start appends one JSON object, on
 * one line, to the file named by KADRIX_STANDIN_LOG (a Unix path is taken
 * on drive Z:): its raw command line, its arguments as a Windows program
 * parses them, its current directory, the data and program directories
 * the suite's shared settings hold for it, how many values lie at the
 * root of HKEY_CURRENT_USER (none, unless something put them there), and
 * whether a key HKEY_CURRENT_USER\Injected is there, which only a broken
 * registry file would make.
 * Everything is written as UTF-8. The program then exits with the code
 * KADRIX_STANDIN_EXIT names (0 without it).
 *
 * With KADRIX_STANDIN_HOLD naming a file, it stands in for another program
 * that has that file open instead: it opens it sharing nothing with anyone,
 * takes a lock of the whole file, writes "held" and a line end on its
 * standard output and keeps the file until its standard input ends. */

#include <windows.h>
#include <shellapi.h>
#include <stdio.h>

static void putText(FILE* out, const wchar_t* text)
{
    char utf8[4 * MAX_PATH + 4096];
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, NULL, NULL);
    fputc('"', out);
    for (const unsigned char* c = (const unsigned char*)utf8; *c; ++c) {
        if (*c == '"' || *c == '\\')
            fprintf(out, "\\%c", *c);
        else if (*c < 0x20)
            fprintf(out, "\\u%04x", *c);
        else
            fputc(*c, out);
    }
    fputc('"', out);
}

static void putSetting(FILE* out, const wchar_t* key)
{
    wchar_t value[4 * MAX_PATH] = L"";
    DWORD size = sizeof value;
    RegGetValueW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Movarta\\Startup",
                 key, RRF_RT_REG_SZ, NULL, value, &size);
    fprintf(out, ",\"%ls\":", key);
    putText(out, value);
}

static void putRootValues(FILE* out)
{
    DWORD values = 0;
    RegQueryInfoKeyW(HKEY_CURRENT_USER, NULL, NULL, NULL, NULL, NULL, NULL, &values, NULL, NULL,
                     NULL, NULL);
    fprintf(out, ",\"rootValues\":%lu", (unsigned long)values);
}

static void putInjected(FILE* out)
{
    HKEY key;
    const int found = RegOpenKeyExW(HKEY_CURRENT_USER, L"Injected", 0, KEY_READ, &key) == 0;
    if (found)
        RegCloseKey(key);
    fprintf(out, ",\"injected\":%s", found ? "true" : "false");
}

/* Holds `path` open and locked until the standard input ends; 1 when it
 * cannot be opened or locked. */
static int holdFile(const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    OVERLAPPED whole = {0};
    if (file == INVALID_HANDLE_VALUE ||
        !LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                    MAXDWORD, &whole))
        return 1;
    fputs("held\n", stdout);
    fflush(stdout);
    char ignored[64];
    while (fread(ignored, 1, sizeof ignored, stdin) > 0) {
    }
    CloseHandle(file);
    return 0;
}

static int exitCode(void)
{
    wchar_t code[16] = L"0";
    GetEnvironmentVariableW(L"KADRIX_STANDIN_EXIT", code, 16);
    return _wtoi(code);
}

int main(void)
{
    wchar_t held[4 * MAX_PATH];
    if (GetEnvironmentVariableW(L"KADRIX_STANDIN_HOLD", held, 4 * MAX_PATH))
        return holdFile(held);
    wchar_t log[4 * MAX_PATH] = L"Z:";
    if (!GetEnvironmentVariableW(L"KADRIX_STANDIN_LOG", log + 2, 4 * MAX_PATH - 2))
        return exitCode();
    FILE* out = _wfopen(log[2] == L'/' ? log : log + 2, L"ab");
    if (!out)
        return 1;
    wchar_t directory[4 * MAX_PATH];
    GetCurrentDirectoryW(4 * MAX_PATH, directory);
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    fputs("{\"commandLine\":", out);
    putText(out, GetCommandLineW());
    fputs(",\"args\":[", out);
    for (int i = 1; i < count; ++i) {
        if (i > 1)
            fputc(',', out);
        putText(out, arguments[i]);
    }
    fputs("],\"cwd\":", out);
    putText(out, directory);
    putSetting(out, L"Datadir");
    putSetting(out, L"Progdir");
    putRootValues(out);
    putInjected(out);
    fputs("}\n", out);
    return fclose(out) == 0 ? exitCode() : 1;
}
