#include "core/net/language_index.h"

#include <limits>

#include "core/base/text_util.h"

namespace tw {

namespace {

constexpr size_t npos = std::string_view::npos;

// The position just after the colon that follows the quoted key, if any.
size_t after_key(std::string_view object, std::string_view key) {
    std::string quoted = "\"";
    quoted += key;
    quoted += '"';
    const size_t at = object.find(quoted);
    if (at == npos) return npos;
    const size_t colon = object.find(':', at + quoted.size());
    return colon == npos ? npos : colon + 1;
}

std::optional<std::string> quoted_value(std::string_view object, std::string_view key) {
    const size_t from = after_key(object, key);
    if (from == npos) return std::nullopt;
    const size_t open = object.find('"', from);
    if (open == npos) return std::nullopt;
    const size_t close = object.find('"', open + 1);
    if (close == npos) return std::nullopt;
    return std::string(object.substr(open + 1, close - open - 1));
}

std::optional<uint32_t> number_value(std::string_view object, std::string_view key) {
    size_t i = after_key(object, key);
    if (i == npos) return std::nullopt;
    while (i < object.size() && (object[i] == ' ' || object[i] == '\t' || object[i] == '\r' || object[i] == '\n')) ++i;
    uint64_t value = 0;
    size_t digits = 0;
    for (; i < object.size() && object[i] >= '0' && object[i] <= '9'; ++i, ++digits) {
        value = value * 10 + static_cast<uint64_t>(object[i] - '0');
        if (value > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    return static_cast<uint32_t>(value);
}

}  // namespace

LanguageIndex parse_language_index(std::string_view text) {
    LanguageIndex index;
    size_t pos = 0;
    while (true) {
        const size_t open_quote = text.find('"', pos);
        if (open_quote == npos) break;
        const size_t close_quote = text.find('"', open_quote + 1);
        if (close_quote == npos) break;
        const size_t colon = text.find(':', close_quote + 1);
        if (colon == npos) break;
        const size_t brace = text.find('{', colon + 1);
        if (brace == npos) break;
        size_t depth = 0;
        size_t end = npos;
        for (size_t i = brace; i < text.size(); ++i) {
            if (text[i] == '{') {
                ++depth;
            } else if (text[i] == '}' && --depth == 0) {
                end = i;
                break;
            }
        }
        if (end == npos) break;
        pos = end + 1;

        const std::string_view code = text.substr(open_quote + 1, close_quote - open_quote - 1);
        if (code == "name" || code == "version" || code == "path") continue;
        const std::string_view object = text.substr(brace + 1, end - brace - 1);
        auto name = quoted_value(object, "name");
        auto path = quoted_value(object, "path");
        auto version = number_value(object, "version");
        if (!name || !path || !version) continue;
        if (!is_safe_language_code(code)) {
            index.refused_codes.emplace_back(code);
            continue;
        }
        index.entries.push_back({std::string(code), std::move(*name), std::move(*path), *version});
    }
    return index;
}

const LanguageEntry* find_language(std::span<const LanguageEntry> entries, std::string_view code) {
    for (const auto& entry : entries)
        if (entry.code == code) return &entry;
    return nullptr;
}

std::optional<LanguageEntry> language_to_refresh(std::string_view language,
                                                 std::span<const LanguageEntry> entries,
                                                 bool download_pending) {
    if (language == "en" || download_pending) return std::nullopt;
    if (const LanguageEntry* entry = find_language(entries, language)) return *entry;
    return std::nullopt;
}

}  // namespace tw
