// The tray menu's items from the state, and the meaning of its command numbers.
#include "core/views/tray_menu.h"

#include <algorithm>

#include "core/model/catalog.h"
#include "core/views/main_view.h"

namespace tw {

namespace {

TrayMenuItem command(std::string text, uint32_t id, bool grayed = false, bool checked = false) {
    TrayMenuItem item;
    item.text = std::move(text);
    item.command = id;
    item.grayed = grayed;
    item.checked = checked;
    return item;
}

TrayMenuItem separator() {
    TrayMenuItem item;
    item.kind = TrayItemKind::Separator;
    return item;
}

TrayMenuItem submenu(std::string text, std::vector<TrayMenuItem> children) {
    TrayMenuItem item;
    item.kind = TrayItemKind::Submenu;
    item.text = std::move(text);
    item.children = std::move(children);
    return item;
}

std::string hotkey_text(const Settings& s, HotkeyAction a) {
    const HotkeyBinding& b = s.hotkey(a);
    return binding_text(b.modifiers, b.key);
}

std::string action_with_hotkey(std::string_view action_key, const Settings& s, HotkeyAction a) {
    return tr_args("tray.action_with_hotkey",
                   {{"action", tr(action_key)}, {"hotkey", hotkey_text(s, a)}});
}

std::vector<TrayMenuItem> layout_items(const Settings& s) {
    std::vector<TrayMenuItem> items;
    const ScreenLayout* entry = selected_screen_entry(s);
    if (!entry) return items;
    const size_t n = std::min(entry->layouts.size(), tray_id::kMaxLayouts);
    for (size_t i = 0; i < n; ++i) {
        const std::string& name = entry->layouts[i].name;
        // Layouts 1 to 9 show their Apply layout shortcut after the tab, as the other
        // items do. The hotkey goes in first: a name holding "{hotkey}" stays as it is.
        std::string text = menu_safe(name);
        if (i < kApplyLayoutActionCount)
            text = tr_args("tray.action_with_hotkey",
                           {{"hotkey", hotkey_text(s, static_cast<HotkeyAction>(kFirstApplyLayoutAction + i))},
                            {"action", text}});
        items.push_back(command(std::move(text), tray_id::kLayout + static_cast<uint32_t>(i), false,
                                name == entry->active_layout));
    }
    return items;
}

std::vector<TrayMenuItem> share_items(const TrayMenuInput& in) {
    std::vector<TrayMenuItem> items;
    // Command numbers reach 1269: rows beyond the thirtieth cannot be offered.
    const size_t rows = std::min(in.zone_table.size(),
                                 (tray_id::kLastShare - tray_id::kShare + 1) / tray_id::kZonesPerRow);
    for (size_t s = 0; s < rows; ++s) {
        const MonitorZones& row = in.zone_table[s];
        const ScreenInfo* screen = nullptr;
        for (const ScreenInfo& si : in.screens)
            if (si.id == row.screen_id) {
                screen = &si;
                break;
            }
        const std::string name = screen && !screen->name.empty()
                                     ? menu_safe(screen->name)
                                     : "Display " + std::to_string(s + 1);
        const size_t zones = std::min(row.zones.size(), tray_id::kZonesPerRow);
        for (size_t z = 0; z < zones; ++z) {
            // {z} first: a screen name that itself contains "{z}" stays as it is.
            const std::string number = std::to_string(z + 1);
            std::string text = tr_args("tray.share_display_zone", {{"z", number}, {"name", name}});
            const auto id = static_cast<uint32_t>(tray_id::kShare + tray_id::kZonesPerRow * s + z);
            items.push_back(command(std::move(text), id, false, in.shared && in.shared(row.screen_id, z)));
        }
    }
    return items;
}

}  // namespace

std::string menu_safe(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (c == '&')
            out += "&&";
        else if (c == '\t' || c == '\r' || c == '\n')
            out += ' ';
        else
            out += c;
    }
    return out;
}

std::vector<TrayMenuItem> build_tray_menu(const TrayMenuInput& in) {
    const Settings& s = in.settings;
    std::vector<TrayMenuItem> menu;
    menu.push_back(command(tr("tray.show"), tray_id::kShow));
    menu.push_back(separator());
    menu.push_back(command(
        action_with_hotkey(in.engine_running ? "common.stop" : "common.start", s, HotkeyAction::StartStop),
        tray_id::kStartStop));
    const bool offer_show = in.engine_running && !in.zones_shown;
    menu.push_back(command(
        action_with_hotkey(offer_show ? "tray.show_zones" : "tray.hide_zones", s, HotkeyAction::ToggleZones),
        tray_id::kZones, !in.engine_running));
    menu.push_back(submenu(tr_args("tray.layout_with_hotkey", {{"hotkey", hotkey_text(s, HotkeyAction::CycleLayout)}}),
                           layout_items(s)));
    menu.push_back(submenu(tr("tray.share"), share_items(in)));
    menu.push_back(separator());
    menu.push_back(command(tr("tray.exit"), tray_id::kExit));
    return menu;
}

TrayCommand decide_tray_command(uint32_t id, const Settings& settings,
                                std::span<const MonitorZones> zone_table) {
    TrayCommand c;
    auto main = [&c](uint64_t main_command) {
        c.action = TrayAction::MainCommand;
        c.main_command = main_command;
        return c;
    };
    switch (id) {
    case tray_id::kShow: c.action = TrayAction::ShowMain; return c;
    case tray_id::kExit: c.action = TrayAction::Exit; return c;
    case tray_id::kStartStop: return main(main_id::kStartStop);
    case tray_id::kZones: return main(main_id::kShowZones);
    default: break;
    }
    if (id >= tray_id::kLayout && id < tray_id::kLayout + tray_id::kMaxLayouts) {
        const size_t i = id - tray_id::kLayout;
        const ScreenLayout* entry = selected_screen_entry(settings);
        if (entry && i < entry->layouts.size()) {
            c.action = TrayAction::SelectLayout;
            c.screen_id = entry->id;
            c.layout = i;
        }
        return c;
    }
    if (id >= tray_id::kShare && id <= tray_id::kLastShare) {
        const size_t n = id - tray_id::kShare;
        const size_t row = n / tray_id::kZonesPerRow;
        const size_t zone = n % tray_id::kZonesPerRow;
        if (row < zone_table.size() && zone < zone_table[row].zones.size()) {
            c.action = TrayAction::ToggleShare;
            c.screen_id = zone_table[row].screen_id;
            c.zone = zone;
        }
    }
    return c;
}

}  // namespace tw
