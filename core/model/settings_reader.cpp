#include "core/model/settings_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "core/base/decimal.h"
#include "core/base/log.h"
#include "core/model/settings.h"

namespace tw {

namespace {

constexpr size_t npos = std::string_view::npos;

// The white space the file format knows between tokens.
bool is_gap(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

size_t skip_gap(std::string_view s, size_t i) {
    while (i < s.size() && is_gap(s[i])) ++i;
    return i;
}

std::string_view trim_end_gap(std::string_view s) {
    while (!s.empty() && is_gap(s.back())) s.remove_suffix(1);
    return s;
}

// Trimming of the parts of number lists and of the theme word (the same white space
// as layout names).
std::string_view trim_part(std::string_view s) {
    auto ws = [](char c) { return is_gap(c) || c == '\f' || c == '\v'; };
    while (!s.empty() && ws(s.front())) s.remove_prefix(1);
    while (!s.empty() && ws(s.back())) s.remove_suffix(1);
    return s;
}

// Characters that matter to the bracket and brace walkers; runs of anything else are
// skipped in a tight loop (most of a large file is zone numbers).
struct Structural {
    bool table[256] = {};
    constexpr Structural() {
        for (unsigned char c : std::string_view("\"[]{}")) table[c] = true;
    }
};
constexpr Structural kStructural;

size_t skip_plain(std::string_view s, size_t i) {
    while (i < s.size() && !kStructural.table[static_cast<unsigned char>(s[i])]) ++i;
    return i;
}

// `i` is at an opening quote; returns the index just past its closing quote, a
// backslash skipping the character after it. npos when the string never closes.
size_t skip_quoted(std::string_view s, size_t i) {
    for (++i; i < s.size(); ++i) {
        if (s[i] == '\\') {
            ++i;
        } else if (s[i] == '"') {
            return i + 1;
        }
    }
    return npos;
}

// `i` is at an opening character; returns the index of the character that brings the
// depth back to zero. Quoted strings are skipped so that a name holding a bracket or
// brace cannot end a list early. npos when nothing closes it.
template <class IsOpen, class IsClose>
size_t match_close(std::string_view s, size_t i, IsOpen is_open, IsClose is_close) {
    size_t depth = 0;
    while ((i = skip_plain(s, i)) < s.size()) {
        char c = s[i];
        if (c == '"') {
            i = skip_quoted(s, i);
            if (i == npos) return npos;
            continue;
        }
        if (is_open(c)) {
            ++depth;
        } else if (is_close(c)) {
            if (--depth == 0) return i;
        }
        ++i;
    }
    return npos;
}

// Walks a list value ("[" ... matching "]") once and calls `fn` with each complete
// item directly inside it: objects ("{" ... matching "}") when `objects` is set,
// otherwise bracketed groups. Quoted strings are skipped so that a name holding a
// bracket or brace cannot end a list early. A list cut short by the end of the text
// keeps the items completed before it; an item the list's end cuts off is dropped.
template <class Fn>
void for_each_item(std::string_view value, bool objects, Fn fn) {
    if (value.empty() || value.front() != '[') return;
    size_t brackets = 0;
    size_t braces = 0;
    size_t start = 0;
    for (size_t i = 0; (i = skip_plain(value, i)) < value.size(); ++i) {
        switch (value[i]) {
            case '"':
                i = skip_quoted(value, i);
                if (i == npos) return;
                --i;
                break;
            case '[':
                if (++brackets == 2 && !objects) start = i;
                break;
            case ']':
                if (--brackets == 0) return;
                if (brackets == 1 && !objects) fn(value.substr(start, i - start + 1));
                break;
            case '{':
                if (objects && braces++ == 0) start = i;
                break;
            case '}':
                if (objects && braces > 0 && --braces == 0) fn(value.substr(start, i - start + 1));
                break;
            default:
                break;
        }
    }
}

template <class Fn>
void for_each_part(std::string_view s, Fn fn) {
    while (true) {
        size_t comma = s.find(',');
        fn(trim_part(s.substr(0, comma)));
        if (comma == npos) return;
        s.remove_prefix(comma + 1);
    }
}

// A leading plus is allowed, but only before a digit (or a decimal point).
bool strip_plus(std::string_view& part, bool allow_point) {
    if (part.empty() || part.front() != '+') return true;
    part.remove_prefix(1);
    return !part.empty() && (is_digit(part.front()) || (allow_point && part.front() == '.'));
}

template <class T>
std::optional<T> parse_integer(std::string_view part) {
    if (!strip_plus(part, false)) return std::nullopt;
    T v{};
    const char* end = part.data() + part.size();
    auto [ptr, ec] = std::from_chars(part.data(), end, v);
    if (ec != std::errc{} || ptr != end) return std::nullopt;
    return v;
}

template <class T>
std::optional<std::pair<T, T>> read_pair(std::string_view value) {
    if (value.empty() || value.front() != '[') return std::nullopt;
    size_t close = value.find(']');
    if (close == npos) return std::nullopt;
    T nums[2]{};
    size_t count = 0;
    for_each_part(value.substr(1, close - 1), [&](std::string_view part) {
        if (auto n = parse_integer<T>(part)) {
            if (count < 2) nums[count] = *n;
            ++count;
        }
    });
    if (count != 2) return std::nullopt;
    return std::pair<T, T>{nums[0], nums[1]};
}

// The decimal numbers of a comma-separated text, unparsable parts skipped: the first
// four of them and how many there were.
struct FourNumbers {
    double v[4]{};
    size_t count = 0;
};
FourNumbers read_numbers(std::string_view inner) {
    FourNumbers out;
    for_each_part(inner, [&](std::string_view part) {
        if (auto d = parse_decimal(part)) {
            if (out.count < 4) out.v[out.count] = *d;
            ++out.count;
        }
    });
    return out;
}

// The gap of a layout entry: 0 without the member; a value that is not a whole number
// in range is logged and read as 0, so that a bad edit costs the gap, not the layout.
int read_spacing(std::string_view entry, std::string_view layout_name) {
    const auto value = find_value(entry, "Spacing");
    if (!value) return 0;
    const std::string_view text = trim_end_gap(value->substr(0, value->find_first_of(",]}")));
    int n = -1;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, n);
    if (!text.empty() && is_digit(text.front()) && ec == std::errc{} && ptr == end && n >= kMinSpacing &&
        n <= kMaxSpacing)
        return n;
    std::string shown(text.substr(0, 40));
    std::replace_if(shown.begin(), shown.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
    log("settings: spacing '" + shown + "' of layout '" + std::string(layout_name) +
        "' is not a whole number from " + std::to_string(kMinSpacing) + " to " + std::to_string(kMaxSpacing) +
        "; the layout has no spacing");
    return 0;
}

std::optional<Layout> read_layout_entry(std::string_view entry) {
    auto name = find_string(entry, "Name");
    auto zones = find_value(entry, "Zones");
    if (!name || !zones) return std::nullopt;
    const int spacing = read_spacing(entry, *name);
    return Layout{std::move(*name), read_zones(*zones), spacing};
}

}  // namespace

std::optional<std::string_view> find_value(std::string_view text, std::string_view key) {
    // Only members of the outermost object count (depth 1, or 0 for a text without
    // braces): a known key inside an entry the program keeps verbatim is not that key.
    // Quoted strings are skipped whole, so a value holding a key name is not a key; a
    // string is a key when a colon follows it.
    size_t depth = 0;
    for (size_t i = 0; (i = skip_plain(text, i)) < text.size();) {
        const char c = text[i];
        if (c == '"') {
            const size_t end = skip_quoted(text, i);
            if (end == npos) return std::nullopt;
            if (depth <= 1 && text.substr(i + 1, end - i - 2) == key) {
                const size_t colon = skip_gap(text, end);
                if (colon < text.size() && text[colon] == ':') return text.substr(skip_gap(text, colon + 1));
            }
            i = end;
            continue;
        }
        if (c == '[' || c == '{')
            ++depth;
        else if (depth > 0)  // a closing bracket or brace; stray ones are ignored
            --depth;
        ++i;
    }
    return std::nullopt;
}

bool starts_with_word(std::optional<std::string_view> value, std::string_view word) {
    return value && value->starts_with(word);
}

std::optional<std::string> read_string(std::string_view value) {
    if (value.empty() || value.front() != '"') return std::nullopt;
    std::string out;
    for (size_t i = 1; i < value.size(); ++i) {
        char c = value[i];
        if (c == '"') return out;
        if (c == '\\') {
            if (i + 1 >= value.size()) return std::nullopt;
            char next = value[++i];
            if (next != '"' && next != '\\') out += c;
            out += next;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

std::vector<std::string> read_string_list(std::string_view value) {
    std::vector<std::string> out;
    if (value.empty() || value.front() != '[') return out;
    size_t i = skip_gap(value, 1);
    while (i < value.size() && value[i] == '"') {
        const size_t end = skip_quoted(value, i);
        if (end == npos) break;
        auto item = read_string(value.substr(i, end - i));
        if (!item) break;
        out.push_back(std::move(*item));
        i = skip_gap(value, end);
        if (i >= value.size() || value[i] != ',') break;
        i = skip_gap(value, i + 1);
    }
    return out;
}

std::optional<std::string> find_string(std::string_view text, std::string_view key) {
    auto value = find_value(text, key);
    if (!value) return std::nullopt;
    return read_string(*value);
}

std::optional<std::pair<int32_t, int32_t>> read_int_pair(std::string_view value) {
    return read_pair<int32_t>(value);
}

std::optional<HotkeyBinding> read_binding(std::string_view value) {
    auto pair = read_pair<uint32_t>(value);
    if (!pair) return std::nullopt;
    // Modifiers 0 mean unbound whatever the key; an unbound binding is (0, 0).
    if (pair->first == 0) return HotkeyBinding{};
    return HotkeyBinding{pair->first, pair->second};
}

std::optional<double> parse_decimal(std::string_view part) {
    if (!strip_plus(part, true) || part.empty()) return std::nullopt;
    return parse_finite_decimal(part);
}

std::optional<uint64_t> read_count(std::string_view value) {
    if (value.starts_with("null")) return std::nullopt;
    size_t n = 0;
    while (n < value.size() && is_digit(value[n])) ++n;
    if (n == 0) return std::nullopt;
    uint64_t v = 0;
    auto [ptr, ec] = std::from_chars(value.data(), value.data() + n, v);
    if (ec != std::errc{}) return std::nullopt;
    return v;
}

std::vector<std::string_view> list_objects(std::string_view value) {
    std::vector<std::string_view> out;
    for_each_item(value, true, [&](std::string_view entry) { out.push_back(entry); });
    return out;
}

std::vector<Zone> read_zones(std::string_view value) {
    std::vector<Zone> out;
    for_each_item(value, false, [&](std::string_view group) {
        auto n = read_numbers(group.substr(1, group.size() - 2));
        if (n.count == 4) out.push_back(Zone{n.v[0], n.v[1], n.v[2], n.v[3]});
    });
    return out;
}

std::vector<Layout> read_layout_list(std::string_view text, std::string_view key) {
    std::vector<Layout> out;
    auto value = find_value(text, key);
    if (!value) return out;
    for (auto entry : list_objects(*value))
        if (auto layout = read_layout_entry(entry)) out.push_back(std::move(*layout));
    return out;
}

std::vector<ScreenLayout> read_screens(std::string_view text) {
    std::vector<ScreenLayout> out;
    auto value = find_value(text, "Screens");
    if (!value) return out;
    for (auto entry : list_objects(*value)) {
        auto id = find_string(entry, "Id");
        if (!id) continue;
        ScreenLayout s;
        s.id = std::move(*id);
        s.name = find_string(entry, "Name").value_or("");
        s.active_layout = find_string(entry, "ActiveLayout").value_or("");
        s.enabled = starts_with_word(find_value(entry, "Enabled"), "true");
        s.cover_taskbar = starts_with_word(find_value(entry, "CoverTaskbar"), "true");
        out.push_back(std::move(s));
    }
    return out;
}

std::vector<StoredLayout> read_screen_layouts(std::string_view text) {
    std::vector<StoredLayout> out;
    auto value = find_value(text, "ScreenLayouts");
    if (!value) return out;
    for (auto entry : list_objects(*value)) {
        auto screen = find_string(entry, "Screen");
        if (!screen) continue;
        if (auto layout = read_layout_entry(entry))
            out.push_back(StoredLayout{std::move(*screen), std::move(*layout)});
    }
    return out;
}

std::optional<ScreenLayout> migrate_single_screen(std::string_view text, const WorkAreaSize& work) {
    ScreenLayout s;
    s.id = kLegacyPrimaryId;
    s.name = "Primary";
    s.enabled = true;

    auto active = find_value(text, "ActiveLayout");
    auto cover = find_value(text, "CoverTaskbar");
    if (find_value(text, "CustomLayouts") || active || cover) {
        s.layouts = read_layout_list(text, "CustomLayouts");
        if (active) {
            // Only the side variants are folded here; the names themselves stay as the
            // old version stored them.
            std::string id = read_string(*active).value_or("");
            s.active_layout = (id == "50-50-left" || id == "50-50-right") ? "50-50" : id;
        }
        s.cover_taskbar = starts_with_word(cover, "true");
        return s;
    }

    if (find_string(text, "Layout") != "custom") return std::nullopt;
    auto region = find_value(text, "CustomRegion");
    if (!region || region->empty() || region->front() != '[') return std::nullopt;
    size_t close = region->find(']');
    if (close == npos) return std::nullopt;
    auto numbers = read_numbers(region->substr(1, close - 1));
    if (numbers.count != 4 || work.width <= 0 || work.height <= 0) return std::nullopt;
    const double* n = numbers.v;
    const double w = static_cast<double>(work.width);
    const double h = static_cast<double>(work.height);
    Zone z{n[0] / w, n[1] / h, (n[0] + n[2]) / w, (n[1] + n[3]) / h};
    // A region near the limits of the number range could overflow; such a zone could
    // not be written back.
    if (!std::isfinite(z.left) || !std::isfinite(z.top) || !std::isfinite(z.right) || !std::isfinite(z.bottom))
        return std::nullopt;
    s.layouts.push_back(Layout{"Custom", {z}});
    s.active_layout = "Custom";
    return s;
}

bool is_known_key(std::string_view key) {
    static constexpr std::string_view kKnown[] = {
        "AutoStart", "AccentColor", "Theme", "Language", "HideToTray", "StartMinimized",
        "UpdateAutomatically", "UsageStatistics", "SkippedUpdateVersion", "WindowPos",
        "CheckForUpdates", "UpdateLaterAt",
        "DefaultLayoutsSeeded", "HotkeyStartStop", "HotkeyToggleZones", "HotkeyCycleLayout",
        "HotkeyMoveLeft", "HotkeyMoveRight", "HotkeyMoveUp", "HotkeyMoveDown", "Screens",
        "ScreenLayouts", "SelectedScreen", "UsedCount", "CountingSince", "Layout",
        "CustomRegion", "CustomLayouts", "ActiveLayout", "CoverTaskbar", "OpenInLastZone",
        "ExcludedApps", "StartHintDone", "TrayNoticeShown", "KeptSettingsCopy", "DesktopLayouts",
        "HotkeyExtendLeft", "HotkeyExtendRight", "HotkeyExtendUp", "HotkeyExtendDown",
    };
    for (auto k : kKnown)
        if (key == k) return true;
    auto numbered = [key](std::string_view stem) {
        return key.size() == stem.size() + 1 && key.starts_with(stem) && key.back() >= '1' &&
               key.back() <= '9';
    };
    return numbered("HotkeyShareZone") || numbered("HotkeyApplyLayout");
}

std::vector<std::pair<std::string, std::string>> read_extra_entries(std::string_view text) {
    bool complete = false;
    return read_extra_entries(text, complete);
}

std::vector<std::pair<std::string, std::string>> read_extra_entries(std::string_view text, bool& complete) {
    std::vector<std::pair<std::string, std::string>> out;
    complete = false;
    size_t i = text.find('{');
    if (i == npos) return out;
    ++i;
    const size_t n = text.size();
    auto is_nest_open = [](char c) { return c == '[' || c == '{'; };
    auto is_nest_close = [](char c) { return c == ']' || c == '}'; };
    while (true) {
        i = skip_gap(text, i);
        if (i >= n) break;
        if (text[i] == ',') {
            ++i;
            continue;
        }
        if (text[i] != '"') {
            // The scan ends at the object's closing brace only when every entry was read.
            complete = text[i] == '}' && skip_gap(text, i + 1) == n;
            break;
        }
        size_t key_end = skip_quoted(text, i);
        if (key_end == npos) break;
        std::string_view key = text.substr(i + 1, key_end - i - 2);
        i = skip_gap(text, key_end);
        if (i >= n || text[i] != ':') break;
        i = skip_gap(text, i + 1);
        if (i >= n) break;

        size_t value_end;
        if (text[i] == '"') {
            value_end = skip_quoted(text, i);
            if (value_end == npos) break;
        } else if (is_nest_open(text[i])) {
            value_end = match_close(text, i, is_nest_open, is_nest_close);
            if (value_end == npos) break;
            ++value_end;
        } else {
            value_end = text.find_first_of(",]}", i);
            if (value_end == npos) value_end = n;
            // A bare value holding a quote or an opening bracket is malformed: kept
            // verbatim, those would pair differently once the file is rewritten around
            // it (a key inside it could start to count), so reading stops there as for
            // any other malformed entry.
            if (text.substr(i, value_end - i).find_first_of("\"[{") != npos) break;
        }
        std::string_view value = trim_end_gap(text.substr(i, value_end - i));
        if (value.empty()) break;
        i = value_end;
        if (!is_known_key(key)) out.emplace_back(std::string(key), std::string(value));
    }
    return out;
}

}  // namespace tw
