#include "core/base/key_value.h"

#include <cstdint>

namespace tw {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

KeyValues parse_key_values(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    KeyValues values;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = trim_view(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        values.insert_or_assign(std::string(trim_view(line.substr(0, eq))),
                                std::string(trim_view(line.substr(eq + 1))));
    }
    return values;
}

std::optional<std::string_view> find_value(const KeyValues& values, std::string_view key) {
    auto it = values.find(key);
    if (it == values.end()) return std::nullopt;
    return std::string_view(it->second);
}

std::optional<uint64_t> parse_u64(std::string_view text) {
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace tw
