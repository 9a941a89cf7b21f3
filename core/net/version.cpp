#include "core/net/version.h"

#include <limits>

namespace tw {

namespace {

uint32_t parse_part(std::string_view part) {
    if (part.starts_with('+')) part.remove_prefix(1);
    if (part.empty()) return 0;
    uint64_t value = 0;
    for (char c : part) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > std::numeric_limits<uint32_t>::max()) return 0;
    }
    return static_cast<uint32_t>(value);
}

}  // namespace

Version parse_version(std::string_view text) {
    while (text.starts_with('v')) text.remove_prefix(1);
    uint32_t parts[3] = {0, 0, 0};
    for (uint32_t& part : parts) {
        const size_t dot = text.find('.');
        part = parse_part(text.substr(0, dot));
        if (dot == std::string_view::npos) break;
        text.remove_prefix(dot + 1);
    }
    return {parts[0], parts[1], parts[2]};
}

UpdateOffer decide_update_offer(std::string_view offered, std::string_view current,
                                std::string_view skipped_version, bool update_automatically) {
    if (!(parse_version(offered) > parse_version(current))) return UpdateOffer::NotNewer;
    if (offered == skipped_version) return UpdateOffer::Skipped;
    return update_automatically ? UpdateOffer::Download : UpdateOffer::Dialog;
}

InstallerVersionCheck check_installer_version(const std::optional<Version>& installer, std::string_view offered,
                                              std::string_view current) {
    if (!installer) return InstallerVersionCheck::Unreadable;
    if (*installer != parse_version(offered)) return InstallerVersionCheck::NotTheOffered;
    if (!(*installer > parse_version(current))) return InstallerVersionCheck::NotNewer;
    return InstallerVersionCheck::Accepted;
}

std::string version_text(const Version& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.patch);
}

bool update_later_holds(std::optional<uint64_t> later_at, uint64_t now, bool start_up_check) {
    return start_up_check && later_at && now >= *later_at && now - *later_at < kUpdateLaterSeconds;
}

}  // namespace tw
