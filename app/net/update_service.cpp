#include "app/net/update_service.h"

#include "core/base/log.h"

namespace tw::app {

// This build has no update service yet.
void start_update_download(AppState&, const UpdateInfo& info) {
    log("update: download of " + info.version + " requested; updates are not part of this build");
}

bool launch_verified_installer(AppState&, const UpdateInfo&) {
    log("update: no verified installer in this build");
    return false;
}

}  // namespace tw::app
