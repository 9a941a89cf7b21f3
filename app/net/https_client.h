#pragma once
// The one small, blocking HTTPS client of the program (WinHTTP), for GET requests to
// the product's own endpoints. Called only from worker threads.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/net/body_limits.h"
#include "core/net/outcome.h"

namespace tw::app {

struct HttpResponse {
    uint32_t status = 0;  // the HTTP status code; callers decide what they accept
    std::string body;
};

// GET https://<host><path> on port 443, with the user agent "Tilewright/<version>",
// the system's proxy settings and time-outs of 5 s (resolve, connect) and 8 s (send,
// receive). Errors are English messages: "could not open a network session", "could
// not reach <host>", "could not open the request", "could not send the request (are
// you offline?)", "no response from the server", a body larger than `max_bytes`
// ("response larger than N bytes"), and a body that ends early ("the response was cut
// off": a failed read, or fewer bytes than the announced Content-Length), so that a
// partial body never passes for a complete one. The whole transfer, redirects
// included, must end within the limit's seconds ("the download took longer than N
// seconds"). Redirects are followed on the same host only (same_host_redirect); any
// other is an error.
Outcome<HttpResponse> https_get(std::string_view host, std::string_view path, const TransferLimits& limits);
// split_https_url, then https_get.
Outcome<HttpResponse> https_get_url(std::string_view url, const TransferLimits& limits);
// https_get with the body made valid UTF-8 (ill-formed sequences become U+FFFD).
Outcome<HttpResponse> https_get_text(std::string_view host, std::string_view path, const TransferLimits& limits);

}  // namespace tw::app
