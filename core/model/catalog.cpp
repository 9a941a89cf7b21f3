#include "core/model/catalog.h"

#include <algorithm>

#include "core/base/civil_date.h"
#include "core/base/files.h"
#include "core/base/key_value.h"
#include "core/base/log.h"
#include "core/base/sys/sys.h"

namespace tw {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct CurrentCatalog {
    std::string code;
    Catalog catalog;
};

CurrentCatalog& current() {
    thread_local CurrentCatalog c;
    return c;
}

const std::string* find_text(const Catalog& catalog, std::string_view key) {
    auto it = catalog.find(key);
    return it == catalog.end() ? nullptr : &it->second;
}

void replace_all(std::string& text, std::string_view from, std::string_view to) {
    size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        // Continue after the inserted value so a value holding its own placeholder
        // cannot make the loop run forever.
        pos += to.size();
    }
}

}  // namespace

Catalog parse_catalog(std::string_view text) {
    // Editors on Windows like to start UTF-8 files with a byte-order mark; without
    // removing it the first key of such a file would never be found.
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    Catalog catalog;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = trim_view(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == '#') continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = trim_view(line.substr(0, eq));
        if (key.empty()) continue;
        catalog.insert_or_assign(std::string(key), std::string(trim_view(line.substr(eq + 1))));
    }
    return catalog;
}

const Catalog& english_catalog() {
    static const Catalog english = parse_catalog(english_catalog_text());
    return english;
}

void set_language(std::string code, Catalog catalog) {
    auto& c = current();
    c.code = std::move(code);
    c.catalog = std::move(catalog);
}

const std::string& current_language() { return current().code; }

std::string tr(std::string_view key) {
    if (const auto* text = find_text(current().catalog, key)) return *text;
    if (const auto* text = find_text(english_catalog(), key)) return *text;
    return std::string(key);
}

std::string tr_args(std::string_view key, TrArgs args) {
    std::string text = tr(key);
    for (const auto& [name, value] : args) {
        std::string placeholder;
        placeholder.reserve(name.size() + 2);
        placeholder.push_back('{');
        placeholder.append(name);
        placeholder.push_back('}');
        replace_all(text, placeholder, value);
    }
    return text;
}

std::string tr_plural(std::string_view stem, uint64_t count) {
    std::string key(stem);
    if (count == 1) return tr(key.append("_one"));
    const std::string n = std::to_string(count);
    return tr_args(key.append("_other"), {{"n", n}});
}

std::optional<std::filesystem::path> language_file_path(
    const std::optional<std::filesystem::path>& settings_folder, std::string_view code) {
    if (!settings_folder || !is_safe_language_code(code)) return std::nullopt;
    std::string file(code);
    file += ".lang";
    return *settings_folder / "lang" / file;
}

std::optional<Catalog> load_language_file(
    std::string_view code, const std::optional<std::filesystem::path>& settings_folder) {
    if (!is_safe_language_code(code)) {
        std::string message = "i18n: refusing unsafe language code \"";
        message.append(code);
        message += "\"";
        log(message);
        return std::nullopt;
    }
    auto path = language_file_path(settings_folder, code);
    if (!path) return std::nullopt;
    auto file = read_file(*path);
    if (!file.bytes || !is_valid_utf8(*file.bytes)) return std::nullopt;
    return parse_catalog(*file.bytes);
}

bool apply_startup_language(std::string_view language,
                            const std::optional<std::filesystem::path>& settings_folder) {
    if (language == "en") return false;
    auto catalog = load_language_file(language, settings_folder);
    if (!catalog) return false;
    set_language(std::string(language), std::move(*catalog));
    return true;
}

std::vector<LanguageIndexEntry> language_list(std::span<const LanguageIndexEntry> index) {
    std::vector<LanguageIndexEntry> sorted;
    sorted.reserve(index.size());
    for (const auto& entry : index)
        if (entry.code != "en") sorted.push_back(entry);
    // std::string's operator< compares as unsigned bytes, whatever the encoding.
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.name < b.name; });
    std::vector<LanguageIndexEntry> list;
    list.reserve(sorted.size() + 1);
    list.push_back({"en", "English"});
    list.insert(list.end(), sorted.begin(), sorted.end());
    return list;
}

uint64_t unix_seconds_to_file_time(uint64_t seconds) {
    constexpr uint64_t kEpochDifference = 11'644'473'600;  // 1601-01-01 to 1970-01-01
    constexpr uint64_t kTicksPerSecond = 10'000'000;
    if (seconds > UINT64_MAX - kEpochDifference) return UINT64_MAX;
    const uint64_t since_1601 = seconds + kEpochDifference;
    if (since_1601 > UINT64_MAX / kTicksPerSecond) return UINT64_MAX;
    return since_1601 * kTicksPerSecond;
}

std::optional<std::string> format_long_date(uint64_t seconds) {
    // Far beyond any release or count: the day count must not overflow.
    if (seconds > 1833029933770ull) return std::nullopt;
    const auto [year, month, day] = civil_from_days(static_cast<int64_t>(seconds / 86400));
    // The calendar Windows dates end with, as the short date's.
    if (year > 30827) return std::nullopt;
    return tr_args("date.long", {{"day", std::to_string(day)},
                                 {"month", tr("date.month_" + std::to_string(month))},
                                 {"year", std::to_string(year)}});
}

std::optional<std::string> format_date(uint64_t seconds) {
    const std::string& code = current_language();
    const std::string_view locale = (code.empty() || code == "en") ? std::string_view{} : code;
    return sys::format_short_date(unix_seconds_to_file_time(seconds), locale);
}

}  // namespace tw
