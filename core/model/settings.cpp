#include "core/model/settings.h"

#include <charconv>
#include <cmath>
#include <system_error>
#include <unordered_map>

#include "core/base/decimal.h"
#include "core/base/files.h"
#include "core/base/log.h"
#include "core/model/settings_copy.h"
#include "core/model/settings_reader.h"
#include "core/base/sys/sys.h"

namespace tw {

namespace {

namespace fs = std::filesystem;

// A key that does not occur keeps the default; one that does is true only when its
// value starts with "true".
bool read_bool(std::string_view text, std::string_view key, bool fallback) {
    auto value = find_value(text, key);
    return value ? starts_with_word(value, "true") : fallback;
}

std::optional<Theme> theme_from_word(std::string_view word) {
    std::string w = trim(word);
    for (auto& c : w)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (w == "dark") return Theme::Dark;
    if (w == "light") return Theme::Light;
    if (w == "auto") return Theme::Auto;
    return std::nullopt;
}

std::string_view theme_word(Theme t) {
    switch (t) {
        case Theme::Light: return "light";
        case Theme::Auto: return "auto";
        case Theme::Dark: break;
    }
    return "dark";
}

void append_escaped(std::string& out, std::string_view s) {
    out += '"';
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
}

void append_bool(std::string& out, bool b) { out += b ? "true" : "false"; }

template <class T>
void append_integer(std::string& out, T v) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

// Shortest decimal text that reads back to the same double, never with an exponent.
// Nothing the reader accepts is infinite or nan; a value computed elsewhere that is
// would make a zone the reader drops, so it is written as 0 to keep the numbering.
void append_number(std::string& out, double v) { append_shortest_fixed(out, v); }

void append_pair(std::string& out, auto a, auto b) {
    out += '[';
    append_integer(out, a);
    out += ", ";
    append_integer(out, b);
    out += ']';
}

void append_screen(std::string& out, const ScreenLayout& s) {
    out += "{ \"Id\": ";
    append_escaped(out, s.id);
    out += ", \"Name\": ";
    append_escaped(out, s.name);
    out += ", \"Enabled\": ";
    append_bool(out, s.enabled);
    out += ", \"CoverTaskbar\": ";
    append_bool(out, s.cover_taskbar);
    out += ", \"ActiveLayout\": ";
    append_escaped(out, s.active_layout);
    out += " }";
}

void append_layout(std::string& out, std::string_view screen_id, const Layout& l) {
    out += "{ \"Screen\": ";
    append_escaped(out, screen_id);
    out += ", \"Name\": ";
    append_escaped(out, l.name);
    out += ", \"Zones\": [";
    for (size_t i = 0; i < l.zones.size(); ++i) {
        if (i) out += ", ";
        const Zone& z = l.zones[i];
        out += '[';
        append_number(out, z.left);
        out += ", ";
        append_number(out, z.top);
        out += ", ";
        append_number(out, z.right);
        out += ", ";
        append_number(out, z.bottom);
        out += ']';
    }
    out += ']';
    // Only a layout with gaps carries the member, so files of layouts without them
    // stay as they always were.
    if (l.spacing != 0) out += ", \"Spacing\": " + std::to_string(l.spacing);
    out += " }";
}

// Line by line in the fixed key order; the comma goes before each following line so
// that the last line, whichever it is, has none.
class KeyLines {
public:
    explicit KeyLines(std::string& out) : out_(out) { out_ += "{\n"; }
    std::string& line(std::string_view key) { return raw_line(key); }
    std::string& raw_line(std::string_view raw_key) {
        if (!first_) out_ += ",\n";
        first_ = false;
        out_ += "  \"";
        out_ += raw_key;
        out_ += "\": ";
        return out_;
    }
    void finish() { out_ += "\n}\n"; }

private:
    std::string& out_;
    bool first_ = true;
};

// settings.json is copied once from the folder the program used under its former name
// when the new folder has none yet; the old file stays where it is.
void copy_from_former_folder(const fs::path& dir, const fs::path& path) {
    std::error_code ec;
    if (fs::status(path, ec).type() != fs::file_type::not_found) return;
    const fs::path old = dir.parent_path() / "Wallcarve" / "settings.json";
    if (!fs::is_regular_file(old, ec)) return;
    fs::create_directories(dir, ec);
    fs::copy_file(old, path, fs::copy_options::none, ec);
}

// A settings.json that was there at start-up but could not be read (locked, no
// permission, not UTF-8 with no copy kept): this run never writes over it, so the next
// start that can read it finds the user's layouts intact.
std::optional<fs::path>& unreadable_at_load() {
    static std::optional<fs::path> path;
    return path;
}

}  // namespace

Settings parse_settings(std::string_view text, WorkAreaSize primary_work) {
    Settings s;
    s.auto_start = read_bool(text, "AutoStart", s.auto_start);
    if (auto v = find_string(text, "AccentColor"))
        if (auto c = parse_hex_color(*v)) s.accent_color = *c;
    if (auto v = find_string(text, "Theme"))
        if (auto t = theme_from_word(*v)) s.theme = *t;
    if (auto v = find_string(text, "Language")) s.language = std::move(*v);
    s.hide_to_tray = read_bool(text, "HideToTray", s.hide_to_tray);
    s.start_minimized = read_bool(text, "StartMinimized", s.start_minimized);
    s.update_automatically = read_bool(text, "UpdateAutomatically", s.update_automatically);
    // Anything but an explicit "false" keeps the anonymous statistics on.
    s.usage_statistics = !starts_with_word(find_value(text, "UsageStatistics"), "false");
    // As with the statistics, only an explicit "false" turns the checks off.
    s.check_for_updates = !starts_with_word(find_value(text, "CheckForUpdates"), "false");
    if (auto v = find_value(text, "UpdateLaterAt")) s.update_later_at = read_count(*v);
    s.skipped_update_version = find_string(text, "SkippedUpdateVersion");
    if (auto v = find_value(text, "WindowPos")) s.window_pos = read_int_pair(*v);
    s.default_layouts_seeded = read_bool(text, "DefaultLayoutsSeeded", s.default_layouts_seeded);
    s.start_hint_done = read_bool(text, "StartHintDone", s.start_hint_done);
    s.tray_notice_shown = read_bool(text, "TrayNoticeShown", s.tray_notice_shown);
    for (const auto& info : hotkey_actions())
        if (auto v = find_value(text, info.settings_key))
            if (auto b = read_binding(*v)) s.hotkey(info.action) = *b;
    if (auto v = find_value(text, "UsedCount")) s.used_count = read_count(*v);
    if (auto v = find_value(text, "CountingSince")) s.counting_since = read_count(*v);
    s.selected_screen = find_string(text, "SelectedScreen").value_or("");
    s.kept_settings_copy = find_string(text, "KeptSettingsCopy").value_or("");

    s.open_in_last_zone = read_bool(text, "OpenInLastZone", s.open_in_last_zone);
    if (auto v = find_value(text, "ExcludedApps")) s.excluded_apps = read_string_list(*v);

    s.screens = read_screens(text);
    // Each layout goes to the first screen with its Id; the index keeps a file with
    // thousands of screens and layouts from taking quadratic time.
    std::unordered_map<std::string_view, ScreenLayout*> by_id;
    for (auto& screen : s.screens) by_id.try_emplace(screen.id, &screen);
    for (auto& stored : read_screen_layouts(text)) {
        auto it = by_id.find(stored.screen);
        if (it != by_id.end()) it->second->layouts.push_back(std::move(stored.layout));
    }
    if (s.screens.empty())
        if (auto legacy = migrate_single_screen(text, primary_work)) s.screens.push_back(std::move(*legacy));
    for (auto& screen : s.screens) repair_active_layout(screen);

    s.desktop_layouts = read_desktop_choices(text);
    s.extra = read_extra_entries(text);
    return s;
}

std::string serialize_settings(const Settings& s) {
    std::string out;
    out.reserve(4096);
    KeyLines lines(out);
    append_bool(lines.line("AutoStart"), s.auto_start);
    append_escaped(lines.line("AccentColor"), format_hex_color(s.accent_color));
    append_escaped(lines.line("Theme"), theme_word(s.theme));
    append_escaped(lines.line("Language"), s.language);
    append_bool(lines.line("HideToTray"), s.hide_to_tray);
    append_bool(lines.line("StartMinimized"), s.start_minimized);
    append_bool(lines.line("UpdateAutomatically"), s.update_automatically);
    append_bool(lines.line("UsageStatistics"), s.usage_statistics);
    if (!s.check_for_updates) append_bool(lines.line("CheckForUpdates"), false);
    if (s.update_later_at) lines.line("UpdateLaterAt") += std::to_string(*s.update_later_at);
    if (s.skipped_update_version)
        append_escaped(lines.line("SkippedUpdateVersion"), *s.skipped_update_version);
    else
        lines.line("SkippedUpdateVersion") += "null";
    if (s.window_pos)
        append_pair(lines.line("WindowPos"), s.window_pos->first, s.window_pos->second);
    else
        lines.line("WindowPos") += "null";
    append_bool(lines.line("DefaultLayoutsSeeded"), s.default_layouts_seeded);
    if (s.start_hint_done) append_bool(lines.line("StartHintDone"), true);
    if (s.tray_notice_shown) append_bool(lines.line("TrayNoticeShown"), true);
    for (const auto& info : hotkey_actions()) {
        const HotkeyBinding& b = s.hotkey(info.action);
        if (written_only_when_changed(info.action) && b == info.default_binding) continue;
        append_pair(lines.line(info.settings_key), b.modifiers, b.key);
    }

    std::string& screens = lines.line("Screens");
    screens += '[';
    for (size_t i = 0; i < s.screens.size(); ++i) {
        if (i) screens += ", ";
        append_screen(screens, s.screens[i]);
    }
    screens += ']';

    std::string& layouts = lines.line("ScreenLayouts");
    layouts += '[';
    bool first = true;
    for (const auto& screen : s.screens) {
        for (const auto& layout : screen.layouts) {
            if (!first) layouts += ", ";
            first = false;
            append_layout(layouts, screen.id, layout);
        }
    }
    layouts += ']';

    append_escaped(lines.line("SelectedScreen"), s.selected_screen);
    // Written only once used, so that a file of a user who never touches them stays as
    // it was.
    if (s.open_in_last_zone) append_bool(lines.line("OpenInLastZone"), true);
    if (!s.excluded_apps.empty()) {
        std::string& apps = lines.line("ExcludedApps");
        apps += '[';
        for (size_t i = 0; i < s.excluded_apps.size(); ++i) {
            if (i) apps += ", ";
            append_escaped(apps, s.excluded_apps[i]);
        }
        apps += ']';
    }
    if (!s.kept_settings_copy.empty()) append_escaped(lines.line("KeptSettingsCopy"), s.kept_settings_copy);
    if (!s.desktop_layouts.empty()) lines.line(kDesktopLayoutsKey) += desktop_choices_value(s.desktop_layouts);
    for (const auto& [key, value] : s.extra) lines.raw_line(key) += value;
    lines.finish();
    return out;
}

std::optional<std::filesystem::path> settings_dir() {
    auto appdata = sys::env_path("APPDATA");
    // An empty variable names no folder; joining it would point at the working directory.
    if (!appdata || appdata->empty()) return std::nullopt;
    return *appdata / "Tilewright";
}

std::optional<std::filesystem::path> settings_path() {
    auto dir = settings_dir();
    if (!dir) return std::nullopt;
    return *dir / "settings.json";
}

Settings load_settings(WorkAreaSize primary_work) {
    unreadable_at_load().reset();
    auto dir = settings_dir();
    if (!dir) return Settings{};
    const fs::path path = *dir / "settings.json";
    copy_from_former_folder(*dir, path);
    ReadResult file = read_file(path);
    if (file.bytes && is_valid_utf8(*file.bytes)) {
        Settings s = parse_settings(*file.bytes, primary_work);
        const std::vector<std::string> losses = settings_read_losses(*file.bytes);
        if (losses.empty()) return s;
        // The start-up save would drop what the reader could not use: the file as it
        // was is copied aside first, or, when no copy can be made, left alone.
        std::string what;
        for (const auto& l : losses) what += (what.empty() ? "" : "; ") + l;
        if (auto copy = keep_settings_copy(*dir, kPartlyReadCopyName, *file.bytes)) {
            s.kept_settings_copy = copy->filename().string();
            log("settings: settings.json could not be read in full (" + what + "); the file as it was is kept as " +
                s.kept_settings_copy);
        } else {
            unreadable_at_load() = path;
            log("settings: settings.json could not be read in full (" + what +
                ") and no copy could be kept; leaving the file as it is (changes made in this run are not saved)");
        }
        return s;
    }
    if (file.error != ReadError::NotFound) {
        // A file in another encoding is copied aside first (it can be repaired), and the
        // start-up save then writes the defaults. Without that copy the file stays.
        std::optional<fs::path> copy;
        if (file.bytes) copy = keep_settings_copy(*dir, kUnreadableCopyName, *file.bytes);
        if (copy) {
            log("settings: settings.json cannot be read as UTF-8 text; kept as " + copy->filename().string() +
                ", starting from defaults");
            Settings s;
            s.kept_settings_copy = copy->filename().string();
            return s;
        } else {
            unreadable_at_load() = path;
            log("settings: settings.json cannot be read; starting from defaults and leaving "
                "the file as it is (changes made in this run are not saved)");
        }
    }
    return Settings{};
}

void save_settings(const Settings& settings) {
    auto dir = settings_dir();
    if (!dir || unreadable_at_load() == *dir / "settings.json") return;
    std::error_code ec;
    fs::create_directories(*dir, ec);
    // A failed save leaves the previous file in place; there is nobody to tell.
    (void)write_atomically(*dir / "settings.json", serialize_settings(settings));
}

}  // namespace tw
