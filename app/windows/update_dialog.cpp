#include "app/windows/update_dialog.h"

#include "core/base/log.h"

namespace tw::app {

// This build has no update dialog yet.
void open_update_dialog(AppState&, const UpdateInfo& info, bool) {
    log("update: version " + info.version + " is available; the update dialog is not part of this build");
}

void enable_update_dialog(AppState&) {}

}  // namespace tw::app
