#pragma once
// The update service as the update dialog sees it.
#include "core/net/update_info.h"

namespace tw::app {

struct AppState;

// Downloads and verifies the installer of `info` on a worker thread; WM_APP+8 reports
// to the main window, which re-opens the update dialog with the installer ready.
void start_update_download(AppState& state, const UpdateInfo& info);
// Verifies the downloaded installer once more and starts it with "/SILENT". False
// (with a log line) when it is missing or does not verify: nothing is run then.
bool launch_verified_installer(AppState& state, const UpdateInfo& info);

}  // namespace tw::app
