#pragma once
// The update request, which doubles as the daily usage ping: when it is due, its path
// and the download token that a first ping carries.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

// Checks run at start-up (forced) and then at most once per this many seconds.
inline constexpr uint64_t kUpdateCheckInterval = 86400;

// `now` and `last_check` are seconds of a clock that never goes back. Without an
// earlier check, or when the clock reads earlier than it (it was replaced), a check
// is due.
bool update_check_due(bool forced, std::optional<uint64_t> last_check, uint64_t now);

// What the request tells about this installation, sent only when the user allows
// usage statistics and the installation identifier could be read or created.
struct UsagePing {
    std::string install_id;
    bool first_ping_sent = false;
    std::string language;                       // the setting "Language"
    uint32_t os_build = 0;                      // the Windows build number, 0 if unknown
    std::optional<std::string> download_token;  // valid tokens only
};

struct UpdateRequest {
    std::string path;         // "/api/update?v=..." with the query values percent-encoded
    bool first_ping = false;  // "&first=1" was sent: a good answer confirms the first ping
    friend bool operator==(const UpdateRequest&, const UpdateRequest&) = default;
};

UpdateRequest build_update_request(std::string_view version, const std::optional<UsagePing>& ping);

// The token in download.token: a leading byte-order mark removed, white space trimmed;
// valid only as exactly 10 lower-case ASCII letters or digits.
std::optional<std::string> download_token_from_file(std::string_view file_text);

}  // namespace tw
