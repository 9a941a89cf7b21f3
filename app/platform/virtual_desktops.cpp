#include "app/platform/virtual_desktops.h"

#include <array>
#include <thread>

#include "app/platform/wide_text.h"
#include "core/base/log.h"
#include "core/model/desktop_layouts.h"

namespace tw::app {

namespace {

constexpr wchar_t kExplorer[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr wchar_t kDesktopsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\VirtualDesktops";

std::wstring session_desktops_key() {
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return std::wstring(kExplorer) + L"\\SessionInfo\\" + std::to_wstring(session) + L"\\VirtualDesktops";
}

std::optional<std::vector<uint8_t>> read_binary(const std::wstring& key, const wchar_t* value) {
    DWORD type = 0, size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_BINARY, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::vector<uint8_t> bytes(size);
    if (size && RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_BINARY, &type, bytes.data(),
                             &size) != ERROR_SUCCESS)
        return std::nullopt;
    bytes.resize(size);
    return bytes;
}

std::optional<std::string> one_guid(const std::optional<std::vector<uint8_t>>& bytes) {
    if (!bytes || bytes->size() != 16) return std::nullopt;
    return guid_list(*bytes).front();
}

// The watched key, or its nearest existing ancestor while it does not exist.
struct Watch {
    HKEY key = nullptr;
    HANDLE event = nullptr;
    bool exact = false;
};

Watch open_watch(const std::wstring& path) {
    Watch w;
    std::wstring p = path;
    while (!p.empty()) {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, p.c_str(), 0, KEY_NOTIFY | KEY_READ, &w.key) == ERROR_SUCCESS) {
            w.exact = p == path;
            break;
        }
        w.key = nullptr;
        const size_t cut = p.rfind(L'\\');
        p = cut == std::wstring::npos ? std::wstring() : p.substr(0, cut);
    }
    if (!w.key) return w;
    w.event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    // The key itself: its values; an ancestor: a new subkey on the way to it.
    const DWORD filter = w.exact ? REG_NOTIFY_CHANGE_LAST_SET : REG_NOTIFY_CHANGE_NAME;
    const LSTATUS rc = w.event ? RegNotifyChangeKeyValue(w.key, !w.exact, filter, w.event, TRUE) : ERROR_OUTOFMEMORY;
    if (rc != ERROR_SUCCESS) {
        log("virtual_desktop: RegNotifyChangeKeyValue failed " + hr_text(HRESULT_FROM_WIN32(static_cast<DWORD>(rc))));
        if (w.event) CloseHandle(w.event);
        RegCloseKey(w.key);
        return {};
    }
    return w;
}

void close_watch(Watch& w) {
    if (w.event) CloseHandle(w.event);
    if (w.key) RegCloseKey(w.key);
    w = {};
}

HANDLE g_stop = nullptr;
std::thread g_thread;

void watch_loop(HWND main, HANDLE stop, std::wstring session_key) {
    PostMessageW(main, kMsgVirtualDesktop, 0, 0);
    while (true) {
        std::array<Watch, 2> watches = {open_watch(kDesktopsKey), open_watch(session_key)};
        std::vector<HANDLE> handles = {stop};
        for (const Watch& w : watches)
            if (w.event) handles.push_back(w.event);
        const DWORD got = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, INFINITE);
        for (Watch& w : watches) close_watch(w);
        if (got == WAIT_OBJECT_0 || got == WAIT_FAILED) return;
        PostMessageW(main, kMsgVirtualDesktop, 0, 0);
    }
}

}  // namespace

VirtualDesktops read_virtual_desktops() {
    VirtualDesktops out;
    out.current = one_guid(read_binary(kDesktopsKey, L"CurrentVirtualDesktop"));
    if (!out.current) out.current = one_guid(read_binary(session_desktops_key(), L"CurrentVirtualDesktop"));
    if (auto ids = read_binary(kDesktopsKey, L"VirtualDesktopIDs")) out.ids = guid_list(*ids);
    return out;
}

void start_virtual_desktop_watch(HWND main) {
    if (g_thread.joinable()) return;
    g_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!g_stop) {
        log("virtual_desktop: CreateEventW failed " + hr_text(HRESULT_FROM_WIN32(GetLastError())));
        return;
    }
    g_thread = std::thread(watch_loop, main, g_stop, session_desktops_key());
}

void stop_virtual_desktop_watch() {
    if (!g_thread.joinable()) return;
    SetEvent(g_stop);
    g_thread.join();
    CloseHandle(g_stop);
    g_stop = nullptr;
}

}  // namespace tw::app
