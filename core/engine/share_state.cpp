#include "core/engine/share_state.h"

#include "core/model/layout_model.h"
#include "core/model/settings.h"

namespace tw {

std::optional<WindowId> ShareMap::live_window(const std::string& screen_id, size_t zone,
                                              const ShareAlive& alive) const {
    auto it = entries_.find({screen_id, zone});
    if (it == entries_.end() || !alive(it->second)) return std::nullopt;
    return it->second;
}

void ShareMap::put(const std::string& screen_id, size_t zone, WindowId mirror) {
    entries_[{screen_id, zone}] = mirror;
}

void ShareMap::erase(const std::string& screen_id, size_t zone) { entries_.erase({screen_id, zone}); }

std::vector<size_t> ShareMap::shared_zones(const std::string& screen_id, const ShareAlive& alive) const {
    std::vector<size_t> out;
    // Keys are ordered by screen, then zone: the screen's entries are one ascending run.
    for (auto it = entries_.lower_bound({screen_id, 0}); it != entries_.end() && it->first.first == screen_id; ++it)
        if (alive(it->second)) out.push_back(it->first.second);
    return out;
}

std::vector<std::string> ShareMap::shared_screens(const ShareAlive& alive) const {
    std::vector<std::string> out;
    for (const auto& [key, window] : entries_)
        if ((out.empty() || out.back() != key.first) && alive(window)) out.push_back(key.first);
    return out;
}

std::vector<WindowId> ShareMap::windows() const {
    std::vector<WindowId> out;
    out.reserve(entries_.size());
    for (const auto& [key, window] : entries_) out.push_back(window);
    return out;
}

ShareToggle decide_share_toggle(const ShareMap& map, const std::string& screen_id, size_t zone,
                                const std::vector<Rect>& zones, const ShareAlive& alive) {
    if (zone >= zones.size()) return {};
    if (auto mirror = map.live_window(screen_id, zone, alive)) return {ShareToggle::Kind::Stop, *mirror, {}};
    return {ShareToggle::Kind::Start, 0, zones[zone]};
}

std::vector<Rect> share_zone_rects(const Settings& settings, const std::vector<ScreenInfo>& screens,
                                   const std::string& screen_id) {
    const ScreenInfo* screen = find_screen_info(screens, screen_id);
    const ScreenLayout* entry = find_screen(settings, screen_id);
    if (!screen || !entry) return {};
    return zone_rects(*entry, *screen);
}

std::optional<std::string> share_hotkey_screen(const std::vector<ScreenInfo>& screens, const Settings& settings,
                                               std::optional<int64_t> foreground_monitor,
                                               std::optional<int64_t> cursor_monitor) {
    for (const auto& monitor : {foreground_monitor, cursor_monitor}) {
        if (!monitor) continue;
        for (const ScreenInfo& s : screens)
            if (s.monitor == *monitor) return s.id;
    }
    const ScreenLayout* entry = find_screen(settings, settings.selected_screen);
    if (!entry && !settings.screens.empty()) entry = &settings.screens.front();
    if (entry && find_screen_info(screens, entry->id)) return entry->id;
    return std::nullopt;
}

std::string share_title(size_t zone) { return "Tilewright - Share Zone " + std::to_string(zone + 1); }

std::string share_app_id(std::string_view title) {
    std::string id = "Corvane.Tilewright.";
    const size_t prefix = id.size();
    bool separator = false;
    for (char c : title) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!keep) {
            separator = true;
            continue;
        }
        // A run of other characters becomes one "." between kept ones, none at the start.
        if (separator && id.size() > prefix) id += '.';
        separator = false;
        id += c;
    }
    if (id.size() > kMaxAppIdBytes) id.resize(kMaxAppIdBytes);
    while (!id.empty() && id.back() == '.') id.pop_back();
    return id;
}

}  // namespace tw
