#include "core/model/layout_model.h"

#include <algorithm>

#include "core/model/settings.h"
#include "core/model/settings_reader.h"
#include "core/base/text_util.h"

namespace tw {

std::string_view default_layouts_text() {
    static constexpr std::string_view kText =
        "{\r\n"
        "  \"CustomLayouts\": [\r\n"
        "    { \"Name\": \"50% | 50%\", \"Zones\": [[0.0, 0.0, 0.5, 1.0], [0.5, 0.0, 1.0, 1.0]] },\r\n"
        "    { \"Name\": \"33% | 33% | 33%\", \"Zones\": [[0.0, 0.0, 0.3333333333333333, 1.0], "
        "[0.3333333333333333, 0.0, 0.6666666666666666, 1.0], [0.6666666666666666, 0.0, 1.0, 1.0]] },\r\n"
        "    { \"Name\": \"25% | 50% | 25%\", \"Zones\": [[0.0, 0.0, 0.25, 1.0], [0.25, 0.0, 0.75, 1.0], "
        "[0.75, 0.0, 1.0, 1.0]] },\r\n"
        "    { \"Name\": \"100%\", \"Zones\": [[0.0, 0.0, 1.0, 1.0]] }\r\n"
        "  ]\r\n"
        "}\r\n";
    return kText;
}

std::vector<Layout> default_layouts() { return read_layout_list(default_layouts_text(), "CustomLayouts"); }

std::vector<Layout> missing_default_layouts(const std::vector<Layout>& existing) {
    std::vector<Layout> out;
    for (auto& d : default_layouts()) {
        bool present = std::any_of(existing.begin(), existing.end(),
                                   [&](const Layout& l) { return l.name == d.name; });
        if (!present) out.push_back(std::move(d));
    }
    return out;
}

void repair_active_layout(ScreenLayout& screen) {
    if (!screen.layouts.empty() && !active_layout(screen))
        screen.active_layout = screen.layouts.front().name;
}

std::string translate_legacy_layout_id(std::string_view id) {
    if (id == "50-50-left" || id == "50-50-right") id = "50-50";
    if (id == "25-50-25") return "25% | 50% | 25%";
    if (id == "50-50") return "50% | 50%";
    if (id == "33-33-33") return "33% | 33% | 33%";
    return std::string(id);
}

ScreenLayout new_screen_layout(std::string_view id, std::string_view name) {
    ScreenLayout s;
    s.id = id;
    s.name = name;
    s.active_layout = translate_legacy_layout_id("100%");
    s.layouts = default_layouts();
    s.enabled = true;
    s.cover_taskbar = false;
    return s;
}

const Layout* active_layout(const ScreenLayout& screen) {
    for (const auto& l : screen.layouts)
        if (l.name == screen.active_layout) return &l;
    return nullptr;
}

bool is_valid_layout_name(std::string_view name) {
    std::string t = trim(name);
    return !t.empty() && t.find_first_of("\"\\{}[]") == std::string::npos;
}

ScreenLayout* find_screen(Settings& settings, std::string_view id) {
    for (auto& s : settings.screens)
        if (s.id == id) return &s;
    return nullptr;
}

const ScreenLayout* find_screen(const Settings& settings, std::string_view id) {
    for (const auto& s : settings.screens)
        if (s.id == id) return &s;
    return nullptr;
}

void reconcile_screens(Settings& settings, const std::vector<AttachedScreen>& attached) {
    auto& screens = settings.screens;
    auto primary = std::find_if(attached.begin(), attached.end(),
                                [](const AttachedScreen& a) { return a.primary; });
    // Layouts migrated from the single-screen format wait for a primary screen to land
    // on; without one (no monitor information at all) they are kept, not thrown away.
    if (primary != attached.end()) {
        if (!find_screen(settings, primary->id))
            if (ScreenLayout* legacy = find_screen(settings, kLegacyPrimaryId)) legacy->id = primary->id;
        std::erase_if(screens, [](const ScreenLayout& s) { return s.id == kLegacyPrimaryId; });
    }

    for (const auto& a : attached) {
        if (ScreenLayout* s = find_screen(settings, a.id))
            s->name = a.name;
        else
            screens.push_back(new_screen_layout(a.id, a.name));
    }

    const bool selected_attached =
        !settings.selected_screen.empty() &&
        std::any_of(attached.begin(), attached.end(),
                    [&](const AttachedScreen& a) { return a.id == settings.selected_screen; });
    if (!selected_attached) {
        if (primary != attached.end())
            settings.selected_screen = primary->id;
        else if (!attached.empty())
            settings.selected_screen = attached.front().id;
        else
            settings.selected_screen.clear();
    }
}

}  // namespace tw
