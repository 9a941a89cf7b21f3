#pragma once
// The virtual desktops as Windows keeps them for the user, in the registry:
//   Windows 11: HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\VirtualDesktops,
//     values "CurrentVirtualDesktop" (REG_BINARY, one GUID) and "VirtualDesktopIDs"
//     (REG_BINARY, the GUIDs back to back, in the order of the desktops);
//   Windows 10: "VirtualDesktopIDs" in the same key, "CurrentVirtualDesktop" in
//     HKCU\...\Explorer\SessionInfo\<session id>\VirtualDesktops.
// A worker thread waits on RegNotifyChangeKeyValue for both keys (or, while a key does
// not exist yet, for the key above it to get a new subkey) and posts WM_APP+12 to the
// main window on every change; nothing is polled. Where neither value exists, there
// is no current desktop and the layouts behave as without virtual desktops.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tw::app {

inline constexpr UINT kMsgVirtualDesktop = WM_APP + 12;

struct VirtualDesktops {
    std::optional<std::string> current;  // "{GUID}"
    std::vector<std::string> ids;        // empty when the list is unknown
};
VirtualDesktops read_virtual_desktops();

// Starts the watching thread (it posts one message at once, so that the main window
// reads the state at start-up); stop joins it. Both on the UI thread.
void start_virtual_desktop_watch(HWND main);
void stop_virtual_desktop_watch();

}  // namespace tw::app
