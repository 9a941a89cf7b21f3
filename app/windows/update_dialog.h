#pragma once
// The update offer, as the update service, the main window and start-up see it.
#include "core/net/update_info.h"

namespace tw::app {

struct AppState;

// Opens the update dialog for `info`. While one is open it is only brought to the
// front, unless the installer is now ready: then it is replaced.
void open_update_dialog(AppState& state, const UpdateInfo& info, bool installer_ready);
// The main window's update link: the open dialog, or the newer version the last check
// found (with its installer ready when it was downloaded and verified).
void open_offered_update_dialog(AppState& state);
// After a failed download or verification: the dialog, if open, can be used again.
void enable_update_dialog(AppState& state);

// What "--test-update-dialog" offers: version 9.9.9 with a changelog of twenty long
// lines, not yet downloaded.
UpdateInfo test_update_offer();

}  // namespace tw::app
