#pragma once
// "Start with Windows": the per-user Run value "Tilewright" pointing at this executable
// with --tray, left alone by packaged installs.
#include <optional>
#include <string>

namespace tw::app {

bool is_packaged();
void set_autostart(bool enable);
bool autostart_enabled();
// Uninstall: removes the Run value when it starts this executable; another copy's stays.
void remove_own_autostart();
// The full path of the running executable (UTF-8).
std::string current_exe_path();
// The installed copy named by the installer's records, when its file exists.
std::optional<std::string> installed_exe_path();
// Start-up: a former "Fenceline" Run value becomes ours.
void migrate_former_autostart();
// Start-up: point the Run value at this executable unless a different installed copy
// exists.
void refresh_autostart();

}  // namespace tw::app
