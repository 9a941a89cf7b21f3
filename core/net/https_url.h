#pragma once
// Splitting an address into what the HTTPS client connects to and what it asks for.
#include <string>
#include <string_view>

#include "core/net/outcome.h"

namespace tw {

struct HttpsTarget {
    std::string host;  // everything between "https://" and the first "/"
    std::string path;  // from that "/" on, query string included
    friend bool operator==(const HttpsTarget&, const HttpsTarget&) = default;
};

// "https://" (exact case) is required; no port, user information or fragment is
// recognised, so they stay part of the host or the path. Errors: "only https URLs are
// supported", "URL has no path".
Outcome<HttpsTarget> split_https_url(std::string_view url);

}  // namespace tw
