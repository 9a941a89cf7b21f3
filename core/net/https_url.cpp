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
