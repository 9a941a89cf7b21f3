#include "core/model/settings_copy.h"

#include <system_error>
#include <unordered_set>

#include "core/base/color.h"
#include "core/base/files.h"
#include "core/base/text_util.h"
#include "core/model/settings_reader.h"

namespace tw {

namespace {

bool is_gap(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view without_bom(std::string_view text) {
    return text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text;
}

bool blank(std::string_view text) {
    for (char c : text)
        if (!is_gap(c)) return false;
    return true;
}

// The bracketed groups directly inside a Zones list, quoted strings skipped: what the
// reader turns into zones when each holds four numbers.
size_t zone_groups(std::string_view value) {
    size_t depth = 0, groups = 0;
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"') {
            for (++i; i < value.size() && value[i] != '"'; ++i)
                if (value[i] == '\\') ++i;
        } else if (c == '[') {
            if (++depth == 2) ++groups;
        } else if (c == ']') {
            if (depth == 0 || --depth == 0) break;
        }
    }
    return groups;
}

// A value that is there and is not null, which `reads` cannot use.
template <class Reads>
bool unread(std::optional<std::string_view> value, Reads reads) {
    return value && !value->starts_with("null") && !reads(*value);
}

bool is_theme_word(std::string_view value) {
    const auto word = read_string(value);
    if (!word) return false;
    std::string w = trim(*word);
    for (char& c : w)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return w == "dark" || w == "light" || w == "auto";
}

// `found` items in the file, `kept` of them read.
void count_loss(std::vector<std::string>& out, size_t found, size_t kept, std::string_view what) {
    if (found > kept) out.push_back(std::to_string(found - kept) + " " + std::string(what));
}

}  // namespace

std::vector<std::string> settings_read_losses(std::string_view text) {
    std::vector<std::string> out;
    text = without_bom(text);
    if (blank(text)) return out;
    size_t first = 0;
    while (is_gap(text[first])) ++first;
    if (text[first] != '{') out.push_back("text before the settings object");
    bool complete = false;
    (void)read_extra_entries(text, complete);
    if (!complete) out.push_back("entries after the point where reading stopped (cut off or malformed)");

    const auto colour = [](std::string_view v) {
        const auto hex = read_string(v);
        return hex && parse_hex_color(*hex);
    };
    if (unread(find_value(text, "AccentColor"), colour)) out.push_back("AccentColor");
    if (unread(find_value(text, "Theme"), is_theme_word)) out.push_back("Theme");
    const auto pair = [](std::string_view v) { return read_int_pair(v).has_value(); };
    if (unread(find_value(text, "WindowPos"), pair)) out.push_back("WindowPos");
    const auto binding = [](std::string_view v) { return read_binding(v).has_value(); };
    for (const auto& info : hotkey_actions())
        if (unread(find_value(text, info.settings_key), binding)) out.push_back(std::string(info.settings_key));

    const auto screens_value = find_value(text, "Screens");
    const std::vector<ScreenLayout> screens = read_screens(text);
    if (screens_value) count_loss(out, list_objects(*screens_value).size(), screens.size(), "Screens entries without an Id");

    if (const auto layouts_value = find_value(text, "ScreenLayouts")) {
        const auto entries = list_objects(*layouts_value);
        // A set, so that a file of many screens and layouts is not checked in quadratic time.
        std::unordered_set<std::string_view> ids;
        for (const ScreenLayout& s : screens) ids.insert(s.id);
        size_t orphans = 0, incomplete = 0, zones_lost = 0;
        for (std::string_view entry : entries) {
            const auto screen = find_string(entry, "Screen");
            const auto zones = find_value(entry, "Zones");
            if (!screen || !find_string(entry, "Name") || !zones) {
                ++incomplete;
                continue;
            }
            if (!ids.contains(*screen)) ++orphans;
            const size_t groups = zone_groups(*zones), kept = read_zones(*zones).size();
            zones_lost += groups > kept ? groups - kept : 0;
        }
        count_loss(out, incomplete, 0, "ScreenLayouts entries without Screen, Name or Zones");
        count_loss(out, orphans, 0, "layouts of a screen that is not in Screens");
        count_loss(out, zones_lost, 0, "zones without four numbers");
    }
    if (!screens_value)
        if (const auto legacy = find_value(text, "CustomLayouts"))
            count_loss(out, list_objects(*legacy).size(), read_layout_list(text, "CustomLayouts").size(),
                       "CustomLayouts entries without Name or Zones");
    return out;
}

std::optional<std::filesystem::path> keep_settings_copy(const std::filesystem::path& dir, std::string_view base,
                                                        std::string_view bytes) {
    for (int n = 1; n < 100; ++n) {
        std::string name(base);
        if (n > 1) name += "-" + std::to_string(n);
        const std::filesystem::path path = dir / name;
        const ReadResult existing = read_file(path);
        if (existing.error == ReadError::NotFound) {
            if (!write_atomically(path, bytes)) return std::nullopt;
            return path;
        }
        if (existing.bytes && *existing.bytes == bytes) return path;
    }
    return std::nullopt;
}

}  // namespace tw
