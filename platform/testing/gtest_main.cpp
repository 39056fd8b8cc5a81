// Entry point of every test program. A fault inside Winelib code may never reach an
// unhandled-exception filter and Wine can keep faulting until the process is killed, so a
// vectored handler reports the first access violation and ends the program at once.
#include "gtest_wine.h"
#include "started_mark.h"
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

static LONG CALLBACK ReportFault(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* rec = info->ExceptionRecord;
    switch (rec->ExceptionCode) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_STACK_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
        HMODULE module = nullptr;
        char name[MAX_PATH] = "?";
        if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                   GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               (LPCSTR)rec->ExceptionAddress, &module))
            GetModuleFileNameA(module, name, sizeof name);
        fprintf(stderr, "\nfatal exception 0x%08x at %p (%s + 0x%lx)\n",
                (unsigned)rec->ExceptionCode, rec->ExceptionAddress, name,
                (unsigned long)((const char*)rec->ExceptionAddress - (const char*)module));
        fflush(stderr);
        _exit(3);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

static std::string EnvOr(const char* name, const char* fallback)
{
    const char* v = getenv(name);
    return v && *v ? v : fallback;
}

std::string TestBinDir() { return EnvOr("QUORVEL_BIN_DIR", "."); }
std::string TestSourceDir() { return EnvOr("QUORVEL_SOURCE_DIR", "."); }

std::string WinePath(const std::string& unixPath)
{
    std::string p = "Z:" + unixPath;
    for (char& c : p)
        if (c == '/')
            c = '\\';
    return p;
}

std::string UnixPath(const std::string& windowsPath)
{
    typedef char*(CDECL * ToUnix)(LPCWSTR);
    ToUnix toUnix =
        (ToUnix)GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    WCHAR wide[MAX_PATH];
    if (!toUnix || !MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH))
        return "";
    std::string unix;
    if (char* converted = toUnix(wide)) {
        unix = converted;
        HeapFree(GetProcessHeap(), 0, converted);
    }
    return unix;
}

bool RunOnOwnDesktop(const char* tag)
{
    // A new desktop needs Wine's desktop process, which cannot start under the
    // AddressSanitizer runtime preloaded: such runs stay on the prefix's default desktop.
    if (getenv("QUORVEL_TEST_DEFAULT_DESKTOP"))
        return false;
    char name[96];
    snprintf(name, sizeof name, "%s%lu", tag, (unsigned long)GetCurrentProcessId());
    HDESK desktop = CreateDesktopA(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    return desktop != nullptr && SetThreadDesktop(desktop);
}

int main(int argc, char** argv)
{
    // Output goes to a pipe under ctest: line by line, so that a program that dies keeps what
    // it said up to then.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    // The launcher tells from this mark that the program got as far as its main function,
    // and reads the verdict from it: a program's static objects (an application's document
    // templates, menus) are torn down after main returns, and that teardown has ended a
    // failing program with exit status 0.
    const char* mark = MarkStarted();
    AddVectoredExceptionHandler(0, ReportFault);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (mark) {
        if (FILE* f = fopen(mark, "a")) {
            fprintf(f, "result %d\n", result);
            fclose(f);
        }
    }
    return result;
}
