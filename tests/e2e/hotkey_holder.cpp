// Holds one global hotkey, as another program on the user's machine would, for the
// shortcuts scenarios:
//   hotkey_holder.exe MODIFIERS VIRTUAL_KEY REPORT_FILE
// writes "registered" or "failed <error>" to REPORT_FILE, then keeps the hotkey until
// it is ended.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    const auto modifiers = static_cast<UINT>(std::wcstoul(argv[1], nullptr, 0));
    const auto vk = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 0));
    const BOOL ok = RegisterHotKey(nullptr, 1, modifiers, vk);
    const DWORD error = ok ? 0 : GetLastError();
    if (FILE* f = _wfopen(argv[3], L"w")) {
        if (ok)
            std::fputs("registered\n", f);
        else
            std::fprintf(f, "failed %lu\n", error);
        std::fclose(f);
    }
    if (!ok) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
