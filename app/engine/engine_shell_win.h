#pragma once
// The Win32 side of the placement engine: hooks that only post messages, the
// minimise-animation switch, the zone overlay windows with their regions, the
// highlight window and the engine's timers on the main window.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/engine/engine_shell.h"
#include "core/engine/overlay_geometry.h"

namespace tw::app {

struct AppState;

// Process-wide values the hook callbacks read on any thread.
void publish_main_window(HWND hwnd);
HWND published_main_window();

// The hook callbacks: they only post to the published main window. The window events
// of a window itself (not of its parts) post WM_APP+1; the left button posts WM_APP+2,
// a move while it is down WM_APP+3, its release WM_APP+4.
void CALLBACK engine_win_event(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD thread,
                               DWORD time);
LRESULT CALLBACK engine_mouse_hook(int code, WPARAM wp, LPARAM lp);

// The overlay and highlight window classes; their background brush is the accent.
bool register_overlay_classes(HINSTANCE instance, HBRUSH accent_brush);
// The single highlight window: layered (alpha 90), click-through, never activated.
HWND create_highlight_window(HINSTANCE instance);

using RectRegionFn = HRGN(WINAPI*)(int, int, int, int);
// Replays region operations into a new GDI region (the caller owns it). Null when any
// rectangle or combination fails (GDI objects exhausted): a region with a piece
// missing would show a wrong shape, such as a solid rectangle over the monitor.
HRGN region_from_ops(const RegionOps& ops, RectRegionFn create_rect = CreateRectRgn);

struct ZoneOverlay {
    MonitorZones row;       // the zones it shows, in screen coordinates
    HWND window = nullptr;  // null when creation failed
};

class Win32EngineShell final : public EngineShell {
public:
    explicit Win32EngineShell(AppState& state) : state_(state) {}
    ~Win32EngineShell() override;

    std::vector<MonitorZones> monitor_zone_table() override;
    void install_hooks() override;
    void remove_hooks() override;
    void suspend_animation() override;
    void restore_animation() override;
    std::vector<WindowId> create_overlays(const std::vector<MonitorZones>& rows, bool visible) override;
    void destroy_overlays() override;
    void show_overlays(bool visible) override;
    void show_highlight(const Rect& zone) override;
    void hide_highlight() override;
    void set_timer(EngineTimer timer, uint32_t interval_ms) override;
    void kill_timer(EngineTimer timer) override;
    void refresh() override;
    void notify_refused_moves() override;

    const std::vector<ZoneOverlay>& overlays() const { return overlays_; }
    // Re-applies every overlay's lines with the rings around shared zones removed.
    void cut_share_frames();
    // The overlay class takes the current accent brush and every overlay repaints.
    void repaint_with_accent_brush();
    // Zone indexes shared on a screen; set by Share Zone, none until then.
    std::function<std::vector<size_t>(const std::string& screen_id)> shared_zones;
    // Called after the engine changed state (tray icon and main window views).
    std::function<void()> on_refresh;
    // Makes the rectangles of the overlay regions; tests replace it to run out of GDI
    // objects.
    RectRegionFn create_rect_region = CreateRectRgn;
    // Reads and writes the minimise animation; tests replace it to watch the writes.
    BOOL(WINAPI* system_parameters)(UINT, UINT, PVOID, UINT) = SystemParametersInfoW;
    // Called the first time in a run that a window could not be moved for want of rights.
    std::function<void()> on_refused_moves;

private:
    // False when the region could not be built; the overlay then has to go.
    bool apply_region(const ZoneOverlay& overlay);

    AppState& state_;
    HWINEVENTHOOK location_hook_ = nullptr;
    HWINEVENTHOOK foreground_hook_ = nullptr;
    HHOOK mouse_hook_ = nullptr;
    std::vector<ZoneOverlay> overlays_;
};

}  // namespace tw::app
