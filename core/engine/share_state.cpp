#include "core/engine/share_state.h"

#include <algorithm>

#include "core/model/layout_model.h"
#include "core/model/settings.h"

namespace tw {

namespace {

bool is_live(const LiveShares& live, WindowId w) { return std::find(live.begin(), live.end(), w) != live.end(); }

}  // namespace

std::optional<WindowId> ShareMap::live_window(const std::string& screen_id, size_t zone,
                                              const LiveShares& live) const {
    for (const Entry& e : entries_)
        if (e.zone == zone && e.screen_id == screen_id) return is_live(live, e.mirror) ? std::optional(e.mirror) : std::nullopt;
    return std::nullopt;
}

void ShareMap::put(const std::string& screen_id, size_t zone, WindowId mirror) {
    for (Entry& e : entries_)
        if (e.zone == zone && e.screen_id == screen_id) {
            e.mirror = mirror;
            return;
        }
    entries_.push_back({screen_id, zone, mirror});
}

void ShareMap::erase(const std::string& screen_id, size_t zone) {
    std::erase_if(entries_, [&](const Entry& e) { return e.zone == zone && e.screen_id == screen_id; });
}

std::vector<size_t> ShareMap::shared_zones(const std::string& screen_id, const LiveShares& live) const {
    std::vector<size_t> out;
    for (const Entry& e : entries_)
        if (e.screen_id == screen_id && is_live(live, e.mirror)) out.push_back(e.zone);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> ShareMap::shared_screens(const LiveShares& live) const {
    std::vector<std::string> out;
    for (const Entry& e : entries_)
        if (is_live(live, e.mirror)) out.push_back(e.screen_id);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

ShareToggle decide_share_toggle(const ShareMap& map, const std::string& screen_id, size_t zone,
                                const std::vector<Rect>& zones, const LiveShares& live) {
    if (zone >= zones.size()) return {};
    if (auto mirror = map.live_window(screen_id, zone, live)) return {ShareToggle::Kind::Stop, *mirror, {}};
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
