#include "app/share/zone_share.h"

#include "core/base/log.h"

namespace tw::app {

// This build has no share windows yet: the request is only logged.
void toggle_share(AppState&, const std::string& screen_id, size_t zone) {
    log("zone_share: share of zone " + std::to_string(zone + 1) + " on " + screen_id +
        " requested; Zone Share is not part of this build");
}

bool share_exists(const AppState&, const std::string&, size_t) { return false; }

}  // namespace tw::app
