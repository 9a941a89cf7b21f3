#include "core/views/tooltips.h"

#include "core/model/catalog.h"
#include "core/views/editor_view.h"
#include "core/views/main_view.h"

namespace tw {

std::optional<std::string_view> tooltip_key(TipWindow window, uint64_t id) {
    if (window == TipWindow::Editor) {
        if (id >= editor_id::kDeleteRow && id < editor_id::kDeleteRow + editor_id::kVisibleRows)
            return "tooltip.delete_layout";
        return std::nullopt;
    }
    switch (id) {
    case main_id::kThemeLight: return "tooltip.theme_light";
    case main_id::kThemeAuto: return "tooltip.theme_auto";
    case main_id::kThemeDark: return "tooltip.theme_dark";
    case main_id::kScreenEnabled: return "tooltip.screen_enabled";
    case main_id::kCoverTaskbar: return "tooltip.cover_taskbar";
    case main_id::kDismissStartHint: return "tooltip.dismiss_start_hint";
    case main_id::kMinimise: return "tooltip.minimise";
    default: return std::nullopt;
    }
}

std::string tray_tooltip(bool running) { return tr(running ? "tray.tooltip_active" : "tray.tooltip_stopped"); }

bool take_tray_notice(Settings& settings) {
    if (settings.tray_notice_shown) return false;
    settings.tray_notice_shown = true;
    return true;
}

}  // namespace tw
