/* A Windows console program that stands in for a companion program when the
 * front-end starts it through Wine. Each start appends one JSON object, on
 * one line, to the file named by KADRIX_STANDIN_LOG (a Unix path is taken
 * on drive Z:): its raw command line, its arguments as a Windows program
 * parses them, its current directory, the data and program directories
 * the suite's shared settings hold for it, how many values lie at the
 * root of HKEY_CURRENT_USER (none, unless something put them there), and
 * whether a key HKEY_CURRENT_USER\Injected is there, which only a broken
 * registry file would make.
 * Everything is written as UTF-8. */

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

int main(void)
{
    wchar_t log[4 * MAX_PATH] = L"Z:";
    if (!GetEnvironmentVariableW(L"KADRIX_STANDIN_LOG", log + 2, 4 * MAX_PATH - 2))
        return 0;
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
    return fclose(out) == 0 ? 0 : 1;
}
