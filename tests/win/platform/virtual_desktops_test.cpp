// The virtual desktops read from the registry, in the Windows 11 and the Windows 10
// places, and the watching thread that reports every change without polling.
#include "app/platform/virtual_desktops.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace tw::app {
namespace {

const wchar_t kDesktops[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\VirtualDesktops";

std::wstring session_key() {
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SessionInfo\\" + std::to_wstring(session) +
           L"\\VirtualDesktops";
}

std::vector<uint8_t> guids(std::initializer_list<uint8_t> fills) {
    std::vector<uint8_t> out;
    for (uint8_t f : fills) out.insert(out.end(), 16, f);
    return out;
}

void put(const std::wstring& key, const wchar_t* value, const std::vector<uint8_t>& bytes) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), value, REG_BINARY, bytes.data(),
                              static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

void clear() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kDesktops);
    RegDeleteTreeW(HKEY_CURRENT_USER, session_key().c_str());
}

const std::string k1 = "{01010101-0101-0101-0101-010101010101}";
const std::string k2 = "{02020202-0202-0202-0202-020202020202}";

TEST(VirtualDesktops, ReadFromTheWindows11AndWindows10Places) {
    struct Case {
        const char* what;
        std::vector<uint8_t> win11_current, win10_current, ids;
        std::optional<std::string> current;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {"no virtual desktops", {}, {}, {}, std::nullopt, {}},
        {"Windows 11", guids({2}), {}, guids({1, 2}), k2, {k1, k2}},
        {"Windows 10", {}, guids({1}), guids({1, 2}), k1, {k1, k2}},
        {"both: the Windows 11 place wins", guids({2}), guids({1}), {}, k2, {}},
        {"a current value that is not one GUID", guids({1, 2}), {}, guids({1}), std::nullopt, {k1}},
    };
    for (const Case& c : cases) {
        clear();
        if (!c.win11_current.empty()) put(kDesktops, L"CurrentVirtualDesktop", c.win11_current);
        if (!c.win10_current.empty()) put(session_key(), L"CurrentVirtualDesktop", c.win10_current);
        if (!c.ids.empty()) put(kDesktops, L"VirtualDesktopIDs", c.ids);
        const VirtualDesktops vd = read_virtual_desktops();
        EXPECT_EQ(vd.current, c.current) << c.what;
        EXPECT_EQ(vd.ids, c.listed) << c.what;
    }
    clear();
}

// Counts the watcher's messages on a message-only window.
int wait_for_messages(HWND hwnd, int want, int& got) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    MSG msg;
    while (got < want && std::chrono::steady_clock::now() < deadline) {
        while (PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE))
            if (msg.message == kMsgVirtualDesktop) ++got;
        Sleep(10);
    }
    return got;
}

TEST(VirtualDesktops, EveryChangeIsPostedToTheMainWindow) {
    clear();
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hwnd, nullptr);
    int got = 0;
    start_virtual_desktop_watch(hwnd);
    EXPECT_EQ(wait_for_messages(hwnd, 1, got), 1) << "the first message, at start";
    // The keys do not exist yet: their creation is noticed, then each value change.
    put(kDesktops, L"VirtualDesktopIDs", guids({1, 2}));
    EXPECT_GE(wait_for_messages(hwnd, 2, got), 2) << "the desktops key created";
    Sleep(200);
    const int before = wait_for_messages(hwnd, got, got);
    put(kDesktops, L"CurrentVirtualDesktop", guids({2}));
    EXPECT_GT(wait_for_messages(hwnd, before + 1, got), before) << "Windows 11 current desktop";
    Sleep(200);
    const int before10 = wait_for_messages(hwnd, got, got);
    put(session_key(), L"CurrentVirtualDesktop", guids({1}));
    EXPECT_GT(wait_for_messages(hwnd, before10 + 1, got), before10) << "Windows 10 current desktop";
    stop_virtual_desktop_watch();
    DestroyWindow(hwnd);
    clear();
}

}  // namespace
}  // namespace tw::app
