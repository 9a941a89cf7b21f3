#include "core/net/https_url.h"

namespace tw {

Outcome<HttpsTarget> split_https_url(std::string_view url) {
    constexpr std::string_view kScheme = "https://";
    if (!url.starts_with(kScheme)) return Outcome<HttpsTarget>::failure("only https URLs are supported");
    url.remove_prefix(kScheme.size());
    const size_t slash = url.find('/');
    if (slash == std::string_view::npos) return Outcome<HttpsTarget>::failure("URL has no path");
    return Outcome<HttpsTarget>::success({std::string(url.substr(0, slash)), std::string(url.substr(slash))});
}

}  // namespace tw

namespace tw {

Outcome<HttpsTarget> same_host_redirect(const HttpsTarget& from, std::string_view location) {
    using Result = Outcome<HttpsTarget>;
    if (location.starts_with('/') && !location.starts_with("//"))
        return Result::success({from.host, std::string(location)});
    if (location.empty() || location.find("://") == std::string_view::npos)
        return Result::failure("redirect without a usable location");
    auto target = split_https_url(location);
    if (!target) {
        // "https://host" with nothing after it still names the host.
        if (!location.starts_with("https://")) return Result::failure("redirect to a URL that is not https refused");
        target = Result::success({std::string(location.substr(8)), "/"});
    }
    // Host names compare without regard to case; the port and user information are
    // part of the host here, so "host:8443" or "user@host" is another host.
    std::string a = target.value->host, b = from.host;
    for (char& c : a) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (char& c : b) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (a != b) return Result::failure("redirect to another host refused: " + target.value->host);
    return target;
}

}  // namespace tw
