#pragma once
// What the main window keeps of the network services, and the slots through which
// their worker threads hand results back to it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/model/catalog.h"
#include "core/net/language_index.h"
#include "core/net/outcome.h"
#include "core/net/slot.h"
#include "core/net/update_info.h"

namespace tw::app {

struct DownloadedLanguage {
    std::string code;
    Catalog catalog;
};

// Shared with the workers, which may outlive the main window: each holds a reference.
struct NetSlots {
    Slot<Outcome<UpdateInfo>> update_check;     // WM_APP+7
    Slot<Outcome<UpdateInfo>> update_download;  // WM_APP+8
    Slot<std::vector<LanguageEntry>> language_index;     // WM_APP+10
    Slot<Outcome<DownloadedLanguage>> language_file;     // WM_APP+11
};

struct NetState {
    std::shared_ptr<NetSlots> slots = std::make_shared<NetSlots>();

    // The update check: seconds of a clock that never goes back, none before the first.
    std::optional<uint64_t> last_update_check;
    std::optional<UpdateInfo> known_update;    // a newer version (the update link shows it)
    bool start_up_check = false;  // the check on its way is the one at start-up
    bool update_downloading = false;
    bool update_download_failed = false;  // the update dialog says so until Install again
    std::optional<UpdateInfo> ready_installer;  // downloaded and verified, waiting for Install

    // The language index and the list the main window offers: English first.
    std::vector<LanguageEntry> language_index;
    std::vector<LanguageIndexEntry> language_menu = language_list({});
    std::optional<std::string> language_download;  // the code being downloaded
    // The user's latest pick of a language that was not stored yet: downloading, or
    // queued behind the running download.
    std::optional<std::string> language_pick;
};

}  // namespace tw::app
