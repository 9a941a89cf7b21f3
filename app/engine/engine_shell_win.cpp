#include "app/engine/engine_shell_win.h"

#include <atomic>

#include "app/app_state.h"
#include "app/platform/wide_text.h"
#include "core/base/log.h"

namespace tw::app {

namespace {

std::atomic<HWND> g_main_window{nullptr};
std::atomic<bool> g_button_down{false};
std::atomic<bool> g_animation_saved{false};
std::atomic<int> g_saved_min_animate{0};

constexpr wchar_t kOverlayClass[] = L"TilewrightOverlay";
constexpr wchar_t kHighlightClass[] = L"TilewrightHighlight";
// Layered as well as transparent: only such a window lets every click through to the
// window beneath. Transparent alone, it still takes the clicks inside its region: on a
// zone line, and so on the edge of a window held in its zone.
constexpr DWORD kOverlayExStyle =
    WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED;
constexpr DWORD kHighlightExStyle = kOverlayExStyle;

void post(UINT msg) {
    if (HWND main = g_main_window.load()) PostMessageW(main, msg, 0, 0);
}

}  // namespace

// Out-of-context event hooks run on the installing thread's message loop: they only
// post, so no engine state is touched inside the callback.
void CALLBACK engine_win_event(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_WINDOW && child == CHILDID_SELF && hwnd) post(kMsgConfine);
}

LRESULT CALLBACK engine_mouse_hook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && g_main_window.load()) {
        if (wp == WM_LBUTTONDOWN) {
            g_button_down = true;
            post(kMsgButtonDown);
        } else if (wp == WM_MOUSEMOVE) {
            if (g_button_down) post(kMsgMouseMove);
        } else if (wp == WM_LBUTTONUP) {
            if (g_button_down.exchange(false)) post(kMsgButtonUp);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

namespace {

ANIMATIONINFO animation_info(int min_animate) {
    ANIMATIONINFO ai{};
    ai.cbSize = sizeof ai;
    ai.iMinAnimate = min_animate;
    return ai;
}

}  // namespace

void publish_main_window(HWND hwnd) { g_main_window = hwnd; }
HWND published_main_window() { return g_main_window.load(); }

bool register_overlay_classes(HINSTANCE instance, HBRUSH accent_brush) {
    bool ok = true;
    for (const wchar_t* name : {kOverlayClass, kHighlightClass}) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = accent_brush;
        wc.lpszClassName = name;
        ok = RegisterClassExW(&wc) != 0 && ok;
    }
    return ok;
}

HWND create_highlight_window(HINSTANCE instance) {
    HWND hwnd = CreateWindowExW(kHighlightExStyle, kHighlightClass, L"", WS_POPUP, 0, 0, 100, 100,
                                nullptr, nullptr, instance, nullptr);
    if (hwnd) SetLayeredWindowAttributes(hwnd, 0, 90, LWA_ALPHA);
    return hwnd;
}

HRGN region_from_ops(const RegionOps& ops, RectRegionFn create_rect) {
    HRGN region = create_rect(0, 0, 0, 0);
    if (!region) return nullptr;
    for (const RegionOp& op : ops) {
        HRGN part = create_rect(op.rect.left, op.rect.top, op.rect.right, op.rect.bottom);
        const bool ok = part && CombineRgn(region, region, part, op.mode == RegionMode::Or ? RGN_OR : RGN_DIFF) != ERROR;
        if (part) DeleteObject(part);
        if (!ok) {
            DeleteObject(region);
            return nullptr;
        }
    }
    return region;
}

Win32EngineShell::~Win32EngineShell() {
    destroy_overlays();
    remove_hooks();
}

std::vector<MonitorZones> Win32EngineShell::monitor_zone_table() {
    return build_monitor_zones(state_.settings.screens, state_.screens);
}

void Win32EngineShell::install_hooks() {
    // A button-up missed while no hook listened must not leave a press behind.
    g_button_down = false;
    constexpr DWORD flags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    location_hook_ = SetWinEventHook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE,
                                     nullptr, engine_win_event, 0, 0, flags);
    foreground_hook_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                       engine_win_event, 0, 0, flags);
    mouse_hook_ = SetWindowsHookExW(WH_MOUSE_LL, engine_mouse_hook, state_.instance, 0);
}

void Win32EngineShell::remove_hooks() {
    if (location_hook_) UnhookWinEvent(location_hook_);
    if (foreground_hook_) UnhookWinEvent(foreground_hook_);
    if (mouse_hook_) UnhookWindowsHookEx(mouse_hook_);
    location_hook_ = foreground_hook_ = nullptr;
    mouse_hook_ = nullptr;
    g_button_down = false;
}

void Win32EngineShell::suspend_animation() {
    if (g_animation_saved) return;
    ANIMATIONINFO ai = animation_info(0);
    if (!system_parameters(SPI_GETANIMATION, sizeof ai, &ai, 0)) return;
    g_saved_min_animate = ai.iMinAnimate;
    g_animation_saved = true;
    if (ai.iMinAnimate != 0) {
        ANIMATIONINFO off = animation_info(0);
        system_parameters(SPI_SETANIMATION, sizeof off, &off, SPIF_SENDCHANGE);
    }
}

void Win32EngineShell::restore_animation() {
    if (g_animation_saved.exchange(false) && g_saved_min_animate != 0) {
        ANIMATIONINFO on = animation_info(g_saved_min_animate);
        system_parameters(SPI_SETANIMATION, sizeof on, &on, SPIF_SENDCHANGE);
    }
}

std::vector<WindowId> Win32EngineShell::create_overlays(const std::vector<MonitorZones>& rows,
                                                        bool visible) {
    destroy_overlays();
    std::vector<WindowId> ids;
    bool class_brush_synced = false;
    for (const MonitorZones& row : rows) {
        const Rect& a = row.area;
        HWND hwnd = CreateWindowExW(kOverlayExStyle, kOverlayClass, L"", WS_POPUP, a.left, a.top,
                                    a.width(), a.height(), nullptr, nullptr, state_.instance, nullptr);
        overlays_.push_back({row, hwnd});
        ids.push_back(to_window_id(hwnd));
        if (hwnd) {
            // At full opacity the lines look as they would without layering.
            SetLayeredWindowAttributes(hwnd, 0, 255, LWA_ALPHA);
            // The class brush may predate an accent change made while no overlay existed.
            if (!class_brush_synced && state_.accent_brush) {
                SetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(state_.accent_brush));
                class_brush_synced = true;
            }
            // The lines, with the rings of shared zones already cut out.
            if (!apply_region(overlays_.back())) {
                DestroyWindow(hwnd);
                overlays_.back().window = nullptr;
                ids.back() = 0;
                continue;
            }
            ShowWindow(hwnd, SW_SHOWNOACTIVATE);
            if (!visible) ShowWindow(hwnd, SW_HIDE);
        } else {
            log("overlay: CreateWindowExW failed " +
                hr_text(static_cast<int32_t>(HRESULT_FROM_WIN32(GetLastError()))));
        }
    }
    return ids;
}

bool Win32EngineShell::apply_region(const ZoneOverlay& overlay) {
    std::vector<size_t> shared = shared_zones ? shared_zones(overlay.row.screen_id) : std::vector<size_t>{};
    HRGN region = region_from_ops(overlay_shape(overlay.row, shared).region, create_rect_region);
    // SetWindowRgn takes ownership of the region when it succeeds.
    if (region && SetWindowRgn(overlay.window, region, TRUE)) return true;
    if (region) DeleteObject(region);
    log("overlay: region of screen " + overlay.row.screen_id +
        " could not be built (out of GDI objects?); its overlay is left out");
    return false;
}

void Win32EngineShell::cut_share_frames() {
    for (ZoneOverlay& o : overlays_) {
        if (o.window && !apply_region(o)) {
            DestroyWindow(o.window);
            o.window = nullptr;
        }
    }
}

void Win32EngineShell::repaint_with_accent_brush() {
    bool class_set = false;
    for (const ZoneOverlay& o : overlays_) {
        if (!o.window) continue;
        if (!class_set && state_.accent_brush) {
            SetClassLongPtrW(o.window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(state_.accent_brush));
            class_set = true;
        }
        InvalidateRect(o.window, nullptr, TRUE);
    }
}

void Win32EngineShell::destroy_overlays() {
    for (const ZoneOverlay& o : overlays_)
        if (o.window) DestroyWindow(o.window);
    overlays_.clear();
}

void Win32EngineShell::show_overlays(bool visible) {
    for (const ZoneOverlay& o : overlays_)
        if (o.window) ShowWindow(o.window, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void Win32EngineShell::show_highlight(const Rect& zone) {
    if (!state_.highlight) return;
    // Repainted: a span's highlight grows from the anchor zone, and the part it grows by
    // would otherwise keep whatever lay there.
    MoveWindow(state_.highlight, zone.left, zone.top, zone.width(), zone.height(), TRUE);
    ShowWindow(state_.highlight, SW_SHOWNOACTIVATE);
}

void Win32EngineShell::hide_highlight() {
    if (state_.highlight) ShowWindow(state_.highlight, SW_HIDE);
}

void Win32EngineShell::set_timer(EngineTimer timer, uint32_t interval_ms) {
    if (state_.main) SetTimer(state_.main, static_cast<UINT_PTR>(timer), interval_ms, nullptr);
}

void Win32EngineShell::kill_timer(EngineTimer timer) {
    if (state_.main) KillTimer(state_.main, static_cast<UINT_PTR>(timer));
}

void Win32EngineShell::refresh() {
    if (on_refresh) on_refresh();
}

void Win32EngineShell::notify_refused_moves() {
    if (on_refused_moves) on_refused_moves();
}

}  // namespace tw::app
