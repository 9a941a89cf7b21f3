#pragma once
// The placement engine's Desktop seam over the real window system.
#include <windows.h>

#include "core/engine/desktop.h"

namespace tw::app {

inline HWND to_hwnd(WindowId w) { return reinterpret_cast<HWND>(static_cast<intptr_t>(w)); }
inline WindowId to_window_id(HWND h) { return static_cast<WindowId>(reinterpret_cast<intptr_t>(h)); }
inline Rect to_rect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT to_win_rect(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// GetClassNameW into a 128-character buffer, as UTF-8; empty on failure.
std::string window_class_name(HWND hwnd);
// DWMWA_EXTENDED_FRAME_BOUNDS when it succeeds and is not empty, else `fallback`.
Rect visible_frame(HWND hwnd, const Rect& fallback);

class Win32Desktop final : public Desktop {
public:
    WindowId foreground_window() override;
    bool is_window(WindowId w) override;
    bool is_visible(WindowId w) override;
    bool is_zoomed(WindowId w) override;
    bool is_iconic(WindowId w) override;
    bool is_hung(WindowId w) override;
    bool is_cloaked(WindowId w) override;
    std::string class_name(WindowId w) override;
    uint32_t process_id(WindowId w) override;
    uint32_t current_process_id() override;
    uint64_t ex_style(WindowId w) override;
    bool is_fixed_size(WindowId w) override;
    std::optional<Rect> window_rect(WindowId w) override;
    std::optional<WindowSnapshot> snapshot(WindowId w) override;
    Rect visible_frame(WindowId w, const Rect& fallback) override;
    std::optional<WindowPlacementInfo> window_placement(WindowId w) override;
    std::optional<MonitorRects> monitor_of_window(WindowId w) override;
    std::optional<Point> cursor_pos() override;
    bool shift_down() override;
    bool ctrl_down() override;
    bool left_button_down() override;
    void restore(WindowId w) override;
    bool set_window_pos(WindowId w, int32_t x, int32_t y, int32_t cx, int32_t cy,
                        uint32_t flags) override;
    std::vector<WindowId> take_refused_windows() override;
    std::string process_path(WindowId w) override;
    std::vector<WindowId> top_level_windows() override;
    WindowId owner_window(WindowId w) override;

private:
    std::vector<WindowId> refused_;
};

// Monotonic milliseconds from the high-resolution steady clock.
class Win32Clock final : public Clock {
public:
    uint64_t now_ms() override;
};

}  // namespace tw::app
