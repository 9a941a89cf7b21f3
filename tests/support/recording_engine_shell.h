#pragma once
// An EngineShell that records what the engine asked for, one text per call, and
// hands out a scripted monitor zone table and overlay window handles.
#include <string>
#include <vector>

#include "core/engine/engine_shell.h"

namespace tw::test {

class RecordingEngineShell : public EngineShell {
public:
    std::vector<MonitorZones> table;
    std::vector<std::string> calls;
    WindowId next_overlay = 900;
    bool overlay_creation_fails = false;
    bool highlight_visible = false;
    Rect highlight_at;
    bool overlays_visible = false;
    int overlay_count = 0;
    std::vector<uint32_t> timers;  // running timers by id

    bool timer_running(EngineTimer t) const {
        for (uint32_t id : timers)
            if (id == static_cast<uint32_t>(t)) return true;
        return false;
    }

    std::vector<MonitorZones> monitor_zone_table() override { return table; }
    void install_hooks() override { calls.push_back("install_hooks"); }
    void remove_hooks() override { calls.push_back("remove_hooks"); }
    void suspend_animation() override { calls.push_back("suspend_animation"); }
    void restore_animation() override { calls.push_back("restore_animation"); }
    std::vector<WindowId> create_overlays(const std::vector<MonitorZones>& rows,
                                          bool visible) override {
        calls.push_back(std::string("create_overlays ") + std::to_string(rows.size()) +
                        (visible ? " visible" : " hidden"));
        std::vector<WindowId> out;
        for (size_t i = 0; i < rows.size(); ++i)
            out.push_back(overlay_creation_fails ? 0 : next_overlay++);
        overlay_count = static_cast<int>(rows.size());
        overlays_visible = visible;
        return out;
    }
    void destroy_overlays() override {
        calls.push_back("destroy_overlays");
        overlay_count = 0;
    }
    void show_overlays(bool visible) override {
        calls.push_back(visible ? "show_overlays" : "hide_overlays");
        overlays_visible = visible;
    }
    void show_highlight(const Rect& zone) override {
        calls.push_back("show_highlight " + rect_text(zone));
        highlight_visible = true;
        highlight_at = zone;
    }
    void hide_highlight() override {
        calls.push_back("hide_highlight");
        highlight_visible = false;
    }
    void set_timer(EngineTimer timer, uint32_t interval_ms) override {
        const auto id = static_cast<uint32_t>(timer);
        calls.push_back("set_timer " + std::to_string(id) + " " + std::to_string(interval_ms));
        if (!timer_running(timer)) timers.push_back(id);
    }
    void kill_timer(EngineTimer timer) override {
        const auto id = static_cast<uint32_t>(timer);
        calls.push_back("kill_timer " + std::to_string(id));
        std::erase(timers, id);
    }
    void refresh() override { calls.push_back("refresh"); }
    void notify_refused_moves() override { calls.push_back("notify_refused_moves"); }
};

}  // namespace tw::test
