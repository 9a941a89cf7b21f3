#include "core/net/update_request.h"

#include <algorithm>

#include "core/base/text_util.h"
#include "core/net/encoding.h"

namespace tw {

bool update_check_due(bool forced, std::optional<uint64_t> last_check, uint64_t now) {
    if (forced || !last_check || now < *last_check) return true;
    return now - *last_check >= kUpdateCheckInterval;
}

UpdateRequest build_update_request(std::string_view version, const std::optional<UsagePing>& ping) {
    UpdateRequest request;
    request.path = "/api/update?v=";
    request.path += version;
    if (!ping) return request;
    request.path += "&id=" + percent_encode(ping->install_id);
    request.path += "&lang=" + percent_encode(ping->language);
    request.path += "&os=" + std::to_string(ping->os_build);
    if (!ping->first_ping_sent) {
        request.first_ping = true;
        request.path += "&first=1";
        if (ping->download_token) request.path += "&dl=" + percent_encode(*ping->download_token);
    }
    return request;
}

std::optional<std::string> download_token_from_file(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    text = trim_view(text);
    const bool valid = text.size() == 10 && std::all_of(text.begin(), text.end(), [](char c) {
                           return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
                       });
    if (!valid) return std::nullopt;
    return std::string(text);
}

}  // namespace tw
