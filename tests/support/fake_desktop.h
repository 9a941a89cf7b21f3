#pragma once
// A scriptable desktop for engine tests: windows with class, process, extended style,
// visibility, minimised and maximised state and invisible resize borders, monitors
// with work areas, a cursor, the Shift key and the left button, windows that fight
// placements or do not respond, and a hook that runs while a window is being moved.
#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/desktop.h"

namespace tw::test {

struct Borders {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct FakeWindow {
    std::string cls = "AppWindow";
    uint32_t pid = 100;
    uint64_t ex_style = 0;
    bool visible = true;
    bool iconic = false;
    bool zoomed = false;  // as IsZoomed reports it only while not minimised
    bool exists = true;
    bool hung = false;    // IsHungAppWindow
    bool fixed_size = false;  // no sizing border, no maximise button
    bool cloaked = false;  // DWMWA_CLOAKED: on another virtual desktop, or suspended
    Rect rect;         // GetWindowRect
    Rect before_minimise;  // where it was before it was parked off-screen
    Rect normal_rect;  // rcNormalPosition
    Borders borders;   // invisible resize borders: visible frame = rect minus these
    bool dwm_fails = false;          // visible_frame falls back to the window rectangle
    bool rect_query_fails = false;   // GetWindowRect fails
    bool placement_query_fails = false;
    bool undo_plain_setpos = false;  // ignores SetWindowPos without NOSENDCHANGING
    int remaximise_after_place = 0;  // re-maximises itself right after this many placements
    bool setpos_fails = false;       // SetWindowPos reports failure and moves nothing
    bool access_denied = false;      // belongs to an elevated program: SetWindowPos is refused
    std::string exe_path = "C:\\Program Files\\App\\app.exe";  // QueryFullProcessImageNameW
    WindowId owner = 0;
};

struct SetPosCall {
    WindowId w;
    int32_t x, y, cx, cy;
    uint32_t flags;
};

class FakeDesktop : public Desktop {
public:
    std::map<WindowId, FakeWindow> windows;
    std::vector<MonitorRects> monitors;
    WindowId foreground = 0;
    std::optional<Point> cursor = Point{0, 0};
    bool shift = false;
    bool ctrl = false;
    bool left_button = true;  // what the drag poll reads; presses come as engine calls
    // Runs inside restore() and set_window_pos(), as the messages the UI thread handles
    // while it waits for another application's window to be moved.
    std::function<void(WindowId)> while_moving;
    uint32_t own_pid = 1;
    std::vector<SetPosCall> setpos_calls;
    std::vector<WindowId> restore_calls;
    std::vector<WindowId> refused;  // SetWindowPos refused with access denied, not yet taken
    // Every snapshot differs from all before it, so that nothing is taken as unchanged:
    // the confiner then asks everything on every pass.
    bool fresh_snapshots = false;
    uint64_t snapshot_serial = 0;

    FakeWindow& add_window(WindowId id, Rect r, std::string cls = "AppWindow") {
        FakeWindow w;
        w.cls = std::move(cls);
        w.rect = r;
        w.normal_rect = r;
        return windows[id] = w;
    }
    FakeWindow& win(WindowId id) { return windows.at(id); }

    // The window is destroyed: every query about it fails from now on.
    void vanish(WindowId id) { win(id).exists = false; }
    // The system parks a minimised window far off-screen and brings it back when shown.
    void minimise(WindowId id) {
        FakeWindow& w = win(id);
        if (w.iconic) return;
        w.before_minimise = w.rect;
        w.rect = {-32000, -32000, -31840, -31972};
        w.iconic = true;
    }
    void unminimise(WindowId id) {
        FakeWindow& w = win(id);
        if (!w.iconic) return;
        w.rect = w.before_minimise;
        w.iconic = false;
    }
    // SetWindowPos calls for one window.
    size_t setpos_count(WindowId id) const {
        return static_cast<size_t>(std::count_if(setpos_calls.begin(), setpos_calls.end(),
                                                 [id](const SetPosCall& c) { return c.w == id; }));
    }

    // The system maximising a window: the window rectangle covers the work area plus its
    // invisible borders, the normal position remembers the restored rectangle.
    void maximise(WindowId id) {
        FakeWindow& w = win(id);
        if (!w.zoomed) w.normal_rect = w.rect;
        w.zoomed = true;
        auto m = monitor_rects_for(w.rect);
        Rect work = m ? m->work : Rect{0, 0, 1920, 1080};
        w.rect = {work.left - w.borders.left, work.top - w.borders.top,
                  work.right + w.borders.right, work.bottom + w.borders.bottom};
    }
    // Visible frame of a window placed at rect.
    Rect frame_of(WindowId id) const {
        const FakeWindow& w = windows.at(id);
        return {w.rect.left + w.borders.left, w.rect.top + w.borders.top,
                w.rect.right - w.borders.right, w.rect.bottom - w.borders.bottom};
    }
    // Moves a window so that its visible frame is exactly `frame`.
    void set_frame(WindowId id, Rect frame) {
        FakeWindow& w = win(id);
        w.rect = {frame.left - w.borders.left, frame.top - w.borders.top,
                  frame.right + w.borders.right, frame.bottom + w.borders.bottom};
        w.zoomed = false;
    }

    // --- Desktop ---
    WindowId foreground_window() override { return foreground; }
    bool is_window(WindowId w) override { return find(w) != nullptr; }
    bool is_visible(WindowId w) override {
        auto* p = find(w);
        return p && p->visible;
    }
    bool is_zoomed(WindowId w) override {
        auto* p = find(w);
        return p && p->zoomed && !p->iconic;
    }
    bool is_iconic(WindowId w) override {
        auto* p = find(w);
        return p && p->iconic;
    }
    bool is_hung(WindowId w) override {
        auto* p = find(w);
        return p && p->hung;
    }
    bool is_cloaked(WindowId w) override {
        auto* p = find(w);
        return p && p->cloaked;
    }
    std::string class_name(WindowId w) override {
        auto* p = find(w);
        return p ? p->cls : std::string();
    }
    uint32_t process_id(WindowId w) override {
        auto* p = find(w);
        return p ? p->pid : 0;
    }
    uint32_t current_process_id() override { return own_pid; }
    uint64_t ex_style(WindowId w) override {
        auto* p = find(w);
        return p ? p->ex_style : 0;
    }
    bool is_fixed_size(WindowId w) override {
        auto* p = find(w);
        return p && p->fixed_size;
    }
    std::optional<Rect> window_rect(WindowId w) override {
        auto* p = find(w);
        if (!p || p->rect_query_fails) return std::nullopt;
        return p->rect;
    }
    std::optional<WindowSnapshot> snapshot(WindowId w) override {
        auto* p = find(w);
        if (!p || p->rect_query_fails) return std::nullopt;
        WindowSnapshot s{p->rect, 0, p->ex_style};
        if (p->visible) s.style |= kWsVisible;
        if (p->iconic) s.style |= kWsMinimize;
        if (p->zoomed) s.style |= kWsMaximize;
        if (fresh_snapshots) s.style |= ++snapshot_serial << 32;
        return s;
    }
    Rect visible_frame(WindowId w, const Rect& fallback) override {
        auto* p = find(w);
        if (!p || p->dwm_fails) return fallback;
        Rect f = frame_of(w);
        if (f.left < f.right && f.top < f.bottom) return f;
        return fallback;
    }
    std::optional<WindowPlacementInfo> window_placement(WindowId w) override {
        auto* p = find(w);
        if (!p || p->placement_query_fails) return std::nullopt;
        return WindowPlacementInfo{p->normal_rect};
    }
    // A minimised window is on the monitor it was on before it was minimised.
    std::optional<MonitorRects> monitor_of_window(WindowId w) override {
        auto* p = find(w);
        if (!p) return std::nullopt;
        return monitor_rects_for(p->iconic ? p->before_minimise : p->rect);
    }
    std::optional<Point> cursor_pos() override { return cursor; }
    bool shift_down() override { return shift; }
    bool ctrl_down() override { return ctrl; }
    bool left_button_down() override { return left_button; }

    void restore(WindowId w) override {
        restore_calls.push_back(w);
        if (auto* p = find(w)) {
            if (p->iconic) {
                unminimise(w);
            } else if (p->zoomed) {
                p->zoomed = false;
                p->rect = p->normal_rect;
            }
        }
        if (while_moving) while_moving(w);
    }
    bool set_window_pos(WindowId w, int32_t x, int32_t y, int32_t cx, int32_t cy,
                        uint32_t flags) override {
        setpos_calls.push_back({w, x, y, cx, cy, flags});
        const bool ok = apply_set_window_pos(w, x, y, cx, cy, flags);
        if (while_moving) while_moving(w);
        return ok;
    }

    std::vector<WindowId> take_refused_windows() override {
        std::vector<WindowId> out;
        out.swap(refused);
        return out;
    }
    std::string process_path(WindowId w) override {
        ++process_path_calls;
        auto* p = find(w);
        return p ? p->exe_path : std::string();
    }
    // The windows that exist, in handle order.
    std::vector<WindowId> top_level_windows() override {
        ++enumerations;
        std::vector<WindowId> out;
        for (const auto& [id, w] : windows)
            if (w.exists) out.push_back(id);
        return out;
    }
    WindowId owner_window(WindowId w) override {
        auto* p = find(w);
        return p ? p->owner : 0;
    }
    int process_path_calls = 0;
    int enumerations = 0;

private:
    bool apply_set_window_pos(WindowId w, int32_t x, int32_t y, int32_t cx, int32_t cy, uint32_t flags) {
        auto* p = find(w);
        if (p && p->access_denied) refused.push_back(w);
        if (!p || p->setpos_fails || p->access_denied) return false;
        if (p->undo_plain_setpos && !(flags & kSwpNoSendChanging)) return true;
        if (flags & kSwpNoSize) {
            cx = p->rect.width();
            cy = p->rect.height();
        }
        // Saturated, as the system keeps coordinates in 32 bits.
        auto end = [](int32_t from, int32_t size) {
            return static_cast<int32_t>(std::clamp<int64_t>(int64_t{from} + size, INT32_MIN, INT32_MAX));
        };
        p->rect = {x, y, end(x, cx), end(y, cy)};
        p->normal_rect = p->rect;
        p->zoomed = false;
        if (p->remaximise_after_place > 0) {
            --p->remaximise_after_place;
            maximise(w);
        }
        return true;
    }

    FakeWindow* find(WindowId w) {
        auto it = windows.find(w);
        if (it == windows.end() || !it->second.exists) return nullptr;
        return &it->second;
    }
    // MonitorFromWindow: the monitor with the largest intersection; none when disjoint.
    std::optional<MonitorRects> monitor_rects_for(const Rect& r) const {
        const MonitorRects* best = nullptr;
        int64_t best_area = 0;
        for (const auto& m : monitors) {
            int64_t w = int64_t{std::min(r.right, m.monitor.right)} - std::max(r.left, m.monitor.left);
            int64_t h = int64_t{std::min(r.bottom, m.monitor.bottom)} - std::max(r.top, m.monitor.top);
            if (w > 0 && h > 0 && w * h > best_area) {
                best = &m;
                best_area = w * h;
            }
        }
        if (!best) return std::nullopt;
        return *best;
    }
};

class FakeClock : public Clock {
public:
    uint64_t t = 0;
    uint64_t now_ms() override { return t; }
    void advance(uint64_t ms) { t += ms; }
};

}  // namespace tw::test
