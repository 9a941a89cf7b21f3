#pragma once
// The update service: the daily check (which doubles as the usage ping), the download
// and verification of a newer installer, and its launch.
#include "core/net/update_info.h"

namespace tw::app {

struct AppState;

// Start-up asks with `forced` set, the main window's one-minute timer without: then
// nothing happens unless a day has passed since the last check. The request is built
// here, on the UI thread; a worker fetches and reads the manifest and reports with
// WM_APP+7.
void request_update_check(AppState& state, bool forced);
// WM_APP+7: a newer version becomes the known update and is offered (or downloaded
// first, with "Update automatically" on) unless the user skipped exactly that version.
void on_update_checked(AppState& state);

// Downloads and verifies the installer of `info` on a worker thread; WM_APP+8 reports
// to the main window, which re-opens the update dialog with the installer ready. The
// installer is saved only after it verified, so a failed download never replaces a
// good file.
void start_update_download(AppState& state, const UpdateInfo& info);
// WM_APP+8: the dialog opens with the installer ready, or is enabled again after a
// failure.
void on_update_downloaded(AppState& state);

// Verifies the downloaded installer once more, from a handle that keeps every other
// writer out until it has started, and starts it with "/SILENT". False (with the
// discard log line) when it is missing or does not verify: nothing is run then.
bool launch_verified_installer(AppState& state, const UpdateInfo& info);

// The main window's update link: the update dialog for the known update.
void open_known_update(AppState& state);

}  // namespace tw::app
