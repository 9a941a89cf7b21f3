#include "core/model/desktop_layouts.h"

#include <algorithm>
#include <cstdio>

#include "core/base/log.h"
#include "core/model/layout_model.h"
#include "core/model/settings.h"
#include "core/model/settings_reader.h"

namespace tw {

namespace {

bool has_layout(const ScreenLayout& screen, std::string_view name) {
    return std::any_of(screen.layouts.begin(), screen.layouts.end(),
                       [&](const Layout& l) { return l.name == name; });
}

void append_quoted(std::string& out, std::string_view s) {
    out += '"';
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
}

}  // namespace

std::string guid_text(std::span<const uint8_t, 16> b) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  b[3], b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return buf;
}

std::vector<std::string> guid_list(std::span<const uint8_t> bytes) {
    std::vector<std::string> out;
    for (size_t i = 0; i + 16 <= bytes.size(); i += 16)
        out.push_back(guid_text(bytes.subspan(i).first<16>()));
    return out;
}

bool record_desktop_choice(Settings& settings, std::string_view screen_id, std::string_view desktop) {
    const ScreenLayout* screen = find_screen(settings, screen_id);
    if (desktop.empty() || !screen || screen->active_layout.empty()) return false;
    auto& choices = settings.desktop_layouts;
    auto it = std::find_if(choices.begin(), choices.end(), [&](const DesktopLayoutChoice& c) {
        return c.screen == screen_id && c.desktop == desktop;
    });
    if (it == choices.end()) {
        choices.push_back({std::string(screen_id), std::string(desktop), screen->active_layout});
        return true;
    }
    if (it->layout == screen->active_layout) return false;
    it->layout = screen->active_layout;
    return true;
}

std::vector<std::string> apply_desktop_choices(Settings& settings, std::string_view desktop) {
    std::vector<std::string> changed;
    if (desktop.empty()) return changed;
    for (const DesktopLayoutChoice& c : settings.desktop_layouts) {
        if (c.desktop != desktop) continue;
        ScreenLayout* screen = find_screen(settings, c.screen);
        if (!screen || !has_layout(*screen, c.layout) || screen->active_layout == c.layout) continue;
        screen->active_layout = c.layout;
        changed.push_back(c.screen);
        log("virtual_desktop: screen '" + c.screen + "' takes layout '" + c.layout + "' on desktop " + c.desktop);
    }
    return changed;
}

size_t prune_desktop_choices(Settings& settings, std::span<const std::string> desktops) {
    return std::erase_if(settings.desktop_layouts, [&](const DesktopLayoutChoice& c) {
        const ScreenLayout* screen = find_screen(settings, c.screen);
        const bool desktop_gone =
            !desktops.empty() && std::find(desktops.begin(), desktops.end(), c.desktop) == desktops.end();
        const bool gone = desktop_gone || !screen || !has_layout(*screen, c.layout);
        if (gone)
            log("virtual_desktop: dropped the choice of '" + c.layout + "' for screen '" + c.screen +
                "' on desktop " + c.desktop + (desktop_gone ? " (the desktop is gone)" : " (screen or layout gone)"));
        return gone;
    });
}

std::vector<DesktopLayoutChoice> read_desktop_choices(std::string_view text) {
    std::vector<DesktopLayoutChoice> out;
    auto value = find_value(text, kDesktopLayoutsKey);
    if (!value) return out;
    for (auto entry : list_objects(*value)) {
        auto screen = find_string(entry, "Screen");
        auto desktop = find_string(entry, "Desktop");
        auto layout = find_string(entry, "Layout");
        if (!screen || !desktop || !layout || desktop->empty()) continue;
        // One choice per screen and desktop: the first one stands, as for every key.
        if (std::any_of(out.begin(), out.end(), [&](const DesktopLayoutChoice& c) {
                return c.screen == *screen && c.desktop == *desktop;
            }))
            continue;
        out.push_back({std::move(*screen), std::move(*desktop), std::move(*layout)});
    }
    return out;
}

std::string desktop_choices_value(const std::vector<DesktopLayoutChoice>& choices) {
    std::string out = "[";
    for (size_t i = 0; i < choices.size(); ++i) {
        if (i) out += ", ";
        out += "{ \"Screen\": ";
        append_quoted(out, choices[i].screen);
        out += ", \"Desktop\": ";
        append_quoted(out, choices[i].desktop);
        out += ", \"Layout\": ";
        append_quoted(out, choices[i].layout);
        out += " }";
    }
    out += ']';
    return out;
}

}  // namespace tw
