// Stands in for the real installer in the update scenarios: it installs nothing and
// leaves "test-installer-ran.txt" in the temporary folder with its arguments, so a
// scenario can tell that it ran and how.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR args, int) {
    wchar_t dir[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, dir);
    if (n == 0 || n > MAX_PATH) return 1;
    const std::wstring path = std::wstring(dir) + L"test-installer-ran.txt";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::string text;
    for (const wchar_t* p = args; p && *p; ++p) text += static_cast<char>(*p < 0x80 ? *p : '?');
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
