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

namespace tw {

// Where a redirect from `from` leads, followed only when it stays on the same host:
// `location` is an absolute https URL naming exactly that host, or a path starting
// with "/" (but not "//", which names a host). Anything else is an error: "redirect to
// another host refused: <host>", "redirect to a URL that is not https refused", or
// "redirect without a usable location".
Outcome<HttpsTarget> same_host_redirect(const HttpsTarget& from, std::string_view location);

// Redirects followed in one request before it counts as failed.
inline constexpr int kMaxRedirects = 5;

}  // namespace tw
