#pragma once
// The update offer, as the update service and start-up see it.
#include "core/net/update_info.h"

namespace tw::app {

struct AppState;

// Opens the update dialog for `info` (see the dialog for the installer-ready rule).
void open_update_dialog(AppState& state, const UpdateInfo& info, bool installer_ready);
// After a failed download or verification: the dialog, if open, can be used again.
void enable_update_dialog(AppState& state);

}  // namespace tw::app
