#include "app/net/https_client.h"

#include <windows.h>
#include <winhttp.h>

#include "app/platform/wide_text.h"
#include "core/base/utf8.h"
#include "core/net/body_limits.h"
#include "core/net/https_url.h"
#include "version.h"

namespace tw::app {

namespace {

// Closes a WinHTTP handle when it goes out of scope. Declared session, connection,
// request, they close in the reverse order: request first.
class Handle {
public:
    explicit Handle(HINTERNET h) : h_(h) {}
    ~Handle() {
        if (h_) WinHttpCloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HINTERNET get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    HINTERNET h_;
};

std::optional<DWORD> number_header(HINTERNET request, DWORD query) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!WinHttpQueryHeaders(request, query | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX, &value,
                             &size, WINHTTP_NO_HEADER_INDEX))
        return std::nullopt;
    return value;
}

std::string text_header(HINTERNET request, DWORD query) {
    DWORD size = 0;
    WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &size,
                        WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return {};
    std::wstring value(size / sizeof(wchar_t), L'\0');
    if (!WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &size,
                             WINHTTP_NO_HEADER_INDEX))
        return {};
    value.resize(size / sizeof(wchar_t));
    return wide_to_utf8(value);
}

bool is_redirect(uint32_t status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

using Result = Outcome<HttpResponse>;

// One request, without following redirects: a redirect comes back with its status and
// `location`, and no body is read.
Result get_once(const HttpsTarget& target, const TransferLimits& limits, uint64_t deadline, std::string& location) {
    const std::wstring agent = utf8_to_wide(std::string("Tilewright/") + TW_VERSION_STRING);
    Handle session(WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                               WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) return Result::failure("could not open a network session");
    WinHttpSetTimeouts(session.get(), 5000, 5000, 8000, 8000);
    Handle connection(
        WinHttpConnect(session.get(), utf8_to_wide(target.host).c_str(), INTERNET_DEFAULT_HTTPS_PORT, 0));
    if (!connection) return Result::failure("could not reach " + target.host);
    Handle request(WinHttpOpenRequest(connection.get(), L"GET", utf8_to_wide(target.path).c_str(), nullptr,
                                      WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE));
    if (!request) return Result::failure("could not open the request");
    // Redirects are ours to judge (same host only), so WinHTTP must not follow them.
    DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    DWORD disable = WINHTTP_DISABLE_REDIRECTS;
    if (!WinHttpSetOption(request.get(), WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never) &&
        !WinHttpSetOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof disable))
        return Result::failure("could not turn off redirects");
    if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
        return Result::failure("could not send the request (are you offline?)");
    if (!WinHttpReceiveResponse(request.get(), nullptr)) return Result::failure("no response from the server");

    HttpResponse response;
    response.status = number_header(request.get(), WINHTTP_QUERY_STATUS_CODE).value_or(0);
    if (is_redirect(response.status)) {
        location = text_header(request.get(), WINHTTP_QUERY_LOCATION);
        return Result::success(std::move(response));
    }
    const std::optional<DWORD> announced = number_header(request.get(), WINHTTP_QUERY_CONTENT_LENGTH);
    CappedBody body(limits.max_bytes);
    if (announced && !body.fits(*announced)) return Result::failure(body_too_large_error(limits.max_bytes));
    while (true) {
        if (GetTickCount64() > deadline) return Result::failure(transfer_too_slow_error(limits.max_seconds));
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request.get(), &available))
            return Result::failure("the response was cut off");
        if (available == 0) break;
        if (!body.fits(available)) return Result::failure(body_too_large_error(limits.max_bytes));
        std::string chunk(available, '\0');
        DWORD read = 0;
        if (!WinHttpReadData(request.get(), chunk.data(), available, &read))
            return Result::failure("the response was cut off");
        if (read == 0) break;
        body.append(std::string_view(chunk).substr(0, read));
    }
    if (GetTickCount64() > deadline) return Result::failure(transfer_too_slow_error(limits.max_seconds));
    if (announced && body.bytes().size() != *announced) return Result::failure("the response was cut off");
    response.body = std::move(body.bytes());
    return Result::success(std::move(response));
}

}  // namespace

Result https_get(std::string_view host, std::string_view path, const TransferLimits& limits) {
    const uint64_t deadline = GetTickCount64() + uint64_t{limits.max_seconds} * 1000;
    HttpsTarget target{std::string(host), std::string(path)};
    for (int redirects = 0;; ++redirects) {
        std::string location;
        Result result = get_once(target, limits, deadline, location);
        if (!result || !is_redirect(result.value->status)) return result;
        if (redirects == kMaxRedirects) return Result::failure("too many redirects");
        auto next = same_host_redirect(target, location);
        if (!next) return Result::failure(next.error);
        target = std::move(*next.value);
        if (GetTickCount64() > deadline) return Result::failure(transfer_too_slow_error(limits.max_seconds));
    }
}

Result https_get_url(std::string_view url, const TransferLimits& limits) {
    auto target = split_https_url(url);
    if (!target) return Result::failure(target.error);
    return https_get(target.value->host, target.value->path, limits);
}

Result https_get_text(std::string_view host, std::string_view path, const TransferLimits& limits) {
    Result result = https_get(host, path, limits);
    if (result) result.value->body = utf8_with_replacement(result.value->body);
    return result;
}

}  // namespace tw::app
