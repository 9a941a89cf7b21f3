#pragma once
// A Desktop that counts the questions asked of the one it wraps, by name: what a pass
// costs in calls to the window system.
#include <map>
#include <string>

#include "core/engine/desktop.h"

namespace tw::test {

class CountingDesktop : public Desktop {
public:
    explicit CountingDesktop(Desktop& inner) : d_(inner) {}

    std::map<std::string, int> calls;
    int total() const {
        int n = 0;
        for (const auto& [name, count] : calls) n += count;
        return n;
    }
    // "name xN, ..." in name order, for failure messages and printed figures.
    std::string text() const {
        std::string out;
        for (const auto& [name, count] : calls)
            out += (out.empty() ? "" : ", ") + name + (count > 1 ? " x" + std::to_string(count) : "");
        return out;
    }

    WindowId foreground_window() override { return on("foreground_window").foreground_window(); }
    bool is_window(WindowId w) override { return on("is_window").is_window(w); }
    bool is_visible(WindowId w) override { return on("is_visible").is_visible(w); }
    bool is_zoomed(WindowId w) override { return on("is_zoomed").is_zoomed(w); }
    bool is_iconic(WindowId w) override { return on("is_iconic").is_iconic(w); }
    bool is_hung(WindowId w) override { return on("is_hung").is_hung(w); }
    bool is_cloaked(WindowId w) override { return on("is_cloaked").is_cloaked(w); }
    std::string class_name(WindowId w) override { return on("class_name").class_name(w); }
    uint32_t process_id(WindowId w) override { return on("process_id").process_id(w); }
    uint32_t current_process_id() override { return on("current_process_id").current_process_id(); }
    uint64_t ex_style(WindowId w) override { return on("ex_style").ex_style(w); }
    bool is_fixed_size(WindowId w) override { return on("is_fixed_size").is_fixed_size(w); }
    std::optional<Rect> window_rect(WindowId w) override { return on("window_rect").window_rect(w); }
    std::optional<WindowSnapshot> snapshot(WindowId w) override { return on("snapshot").snapshot(w); }
    Rect visible_frame(WindowId w, const Rect& fallback) override {
        return on("visible_frame").visible_frame(w, fallback);
    }
    std::optional<WindowPlacementInfo> window_placement(WindowId w) override {
        return on("window_placement").window_placement(w);
    }
    std::optional<MonitorRects> monitor_of_window(WindowId w) override {
        return on("monitor_of_window").monitor_of_window(w);
    }
    std::optional<Point> cursor_pos() override { return on("cursor_pos").cursor_pos(); }
    bool shift_down() override { return on("shift_down").shift_down(); }
    bool ctrl_down() override { return on("ctrl_down").ctrl_down(); }
    bool left_button_down() override { return on("left_button_down").left_button_down(); }
    void restore(WindowId w) override { on("restore").restore(w); }
    bool set_window_pos(WindowId w, int32_t x, int32_t y, int32_t cx, int32_t cy,
                        uint32_t flags) override {
        return on("set_window_pos").set_window_pos(w, x, y, cx, cy, flags);
    }
    std::vector<WindowId> take_refused_windows() override { return d_.take_refused_windows(); }
    std::string process_path(WindowId w) override { return on("process_path").process_path(w); }
    std::vector<WindowId> top_level_windows() override {
        return on("top_level_windows").top_level_windows();
    }
    WindowId owner_window(WindowId w) override { return on("owner_window").owner_window(w); }

private:
    Desktop& on(const char* name) {
        ++calls[name];
        return d_;
    }
    Desktop& d_;
};

}  // namespace tw::test
