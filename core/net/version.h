#pragma once
// Version numbers as the update check compares them: numerically, part by part.
#include <compare>
#include <cstdint>
#include <string_view>

namespace tw {

struct Version {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t patch = 0;
    friend auto operator<=>(const Version&, const Version&) = default;
};

// Leading "v" characters are dropped; the rest is split at "."; the first three parts
// are unsigned decimal numbers (a leading "+" is accepted; nothing else, no white
// space). A part that does not parse, or is missing, counts as 0: "1.4" is 1.4.0 and
// "v2.0.1-beta" is 2.0.0.
Version parse_version(std::string_view text);

// What the update check does with a manifest that arrived.
enum class UpdateOffer : uint8_t {
    NotNewer,  // the offered version is not strictly greater: nothing happens
    Skipped,   // newer, but the user chose to skip exactly this version text
    Download,  // newer, "Update automatically" on: download and verify first
    Dialog,    // newer: offer it in the update dialog
};
UpdateOffer decide_update_offer(std::string_view offered, std::string_view current,
                                std::string_view skipped_version, bool update_automatically);

}  // namespace tw
