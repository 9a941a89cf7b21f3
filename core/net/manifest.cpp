#include "core/net/manifest.h"

#include <utility>

#include "core/base/text_util.h"
#include "core/base/utf8.h"

namespace tw {

namespace {

bool json_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::optional<char32_t> hex4(std::string_view s, size_t pos) {
    if (pos > s.size() || s.size() - pos < 4) return std::nullopt;
    char32_t v = 0;
    for (size_t i = pos; i < pos + 4; ++i) {
        const int d = hex_digit_value(s[i]);
        if (d < 0) return std::nullopt;
        v = v << 4 | static_cast<char32_t>(d);
    }
    return v;
}

// The JSON string that starts at `pos` after optional white space.
std::optional<std::string> json_string_at(std::string_view s, size_t pos) {
    while (pos < s.size() && json_space(s[pos])) ++pos;
    if (pos >= s.size() || s[pos] != '"') return std::nullopt;
    ++pos;
    std::string out;
    while (pos < s.size()) {
        const char c = s[pos++];
        if (c == '"') return out;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= s.size()) return std::nullopt;
        switch (s[pos++]) {
        case '"': out += '"'; break;
        case '/': out += '/'; break;
        case '\\': out += '\\'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
            auto cp = hex4(s, pos);
            if (!cp) return std::nullopt;
            pos += 4;
            if (*cp >= 0xDC00 && *cp <= 0xDFFF) return std::nullopt;
            if (*cp >= 0xD800 && *cp <= 0xDBFF) {
                if (s.substr(pos, 2) != "\\u") return std::nullopt;
                auto low = hex4(s, pos + 2);
                if (!low || *low < 0xDC00 || *low > 0xDFFF) return std::nullopt;
                pos += 6;
                *cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
            }
            append_utf8(out, *cp);
            break;
        }
        default: return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> manifest_field(std::string_view body, std::string_view key) {
    std::string quoted;
    quoted.reserve(key.size() + 2);
    quoted += '"';
    quoted += key;
    quoted += '"';
    const size_t at = body.find(quoted);
    if (at == std::string_view::npos) return std::nullopt;
    const size_t colon = body.find(':', at + quoted.size());
    if (colon == std::string_view::npos) return std::nullopt;
    return json_string_at(body, colon + 1);
}

Outcome<UpdateInfo> parse_update_manifest(std::string_view body) {
    UpdateInfo info;
    const std::pair<std::string_view, std::string*> fields[] = {
        {"version", &info.version},   {"changelog", &info.changelog}, {"download_url", &info.download_url},
        {"sha256", &info.sha256},     {"signature", &info.signature},
    };
    for (const auto& [key, target] : fields) {
        auto value = manifest_field(body, key);
        if (!value) return Outcome<UpdateInfo>::failure("malformed update manifest");
        *target = std::move(*value);
    }
    return Outcome<UpdateInfo>::success(std::move(info));
}

}  // namespace tw
