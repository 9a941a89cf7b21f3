#pragma once
// Version numbers as the update check compares them: numerically, part by part.
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
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

// The version a verified installer carries in its own version resource decides
// whether it may run: the manifest's version text is not signed, so an old installer
// signed with our key could be offered under any number.
enum class InstallerVersionCheck : uint8_t {
    Accepted,       // the installer is the offered version, and that is newer
    Unreadable,     // the installer carries no version
    NotTheOffered,  // it carries another version than the one offered
    NotNewer,       // it is the offered version, but that is not newer than the program
};
InstallerVersionCheck check_installer_version(const std::optional<Version>& installer, std::string_view offered,
                                              std::string_view current);
// A version as text: "1.3.19".
std::string version_text(const Version& v);

// "Later" in the update dialog holds until the next daily check: the checks at
// start-up within a day of the moment it was chosen (seconds since 1970) offer the
// update only through the main window's link; the daily check of a running program
// offers it again. A clock set back before that moment ends it, so that a wrong clock
// cannot hold the offer back for good.
inline constexpr uint64_t kUpdateLaterSeconds = 86400;
bool update_later_holds(std::optional<uint64_t> later_at, uint64_t now, bool start_up_check);

}  // namespace tw
