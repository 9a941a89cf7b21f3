// Runs the command line written (UTF-8) in the file named by its one argument exactly
// as written, waits for it and returns its exit code (120-124 for its own failures).
// Wine quotes each argument that holds a space, and an installer's "/D=C:\Some folder"
// must come last and unquoted. A windows program: a console one would open a console
// window on the scenario's screen.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 2) return 120;
    FILE* file = _wfopen(argv[1], L"rb");
    LocalFree(argv);
    if (!file) return 121;
    std::string text;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, file)) > 0;) text.append(buf, n);
    std::fclose(file);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const int len = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0);
    if (len <= 0) return 122;
    std::wstring line(static_cast<size_t>(len), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), line.data(), len);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 123;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 124;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}
