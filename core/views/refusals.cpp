#include "core/views/refusals.h"

#include "core/model/catalog.h"
#include "core/views/shortcuts_view.h"

namespace tw {

std::string start_refusal_text(const Settings& settings, std::span<const ScreenInfo> screens) {
    bool enabled = false;
    for (const ScreenLayout& entry : settings.screens)
        for (const ScreenInfo& s : screens) enabled = enabled || (entry.enabled && entry.id == s.id);
    return tr(enabled ? "notice.start_no_zones" : "notice.start_no_screen_enabled");
}

std::string share_refusal_text(size_t zone, const std::string& screen_id, std::span<const ScreenInfo> screens) {
    std::string name = screen_id;
    for (const ScreenInfo& s : screens)
        if (s.id == screen_id) name = s.name;
    return tr_args("notice.share_no_zone", {{"n", std::to_string(zone + 1)}, {"screen", name}});
}

std::vector<std::pair<size_t, size_t>> duplicate_shortcuts(
    const std::array<HotkeyBinding, kHotkeyActionCount>& bindings) {
    std::vector<std::pair<size_t, size_t>> out;
    for (size_t a = 0; a < bindings.size(); ++a)
        for (size_t b = a + 1; b < bindings.size(); ++b)
            if (bindings[a].bound() && bindings[a] == bindings[b]) out.emplace_back(a, b);
    return out;
}

std::optional<std::string> duplicate_shortcuts_text(const std::array<HotkeyBinding, kHotkeyActionCount>& bindings) {
    const auto pairs = duplicate_shortcuts(bindings);
    if (pairs.empty()) return std::nullopt;
    const auto [a, b] = pairs.front();
    return tr_args("notice.duplicate_shortcuts", {{"first", shortcut_row_label(a)},
                                                  {"second", shortcut_row_label(b)},
                                                  {"keys", binding_text(bindings[a].modifiers, bindings[a].key)}});
}

}  // namespace tw
