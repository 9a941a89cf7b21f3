#include "app/windows/theme_win.h"

#include "app/app_state.h"
#include "app/engine/engine_shell_win.h"
#include "app/platform/icons_win.h"
#include "app/windows/main_window.h"
#include "app/windows/tray.h"
#include "app/platform/system_theme.h"
#include "app/share/mirror_window.h"
#include "core/ui/theme.h"

namespace tw::app {

namespace {

void replace_window_icon(HWND hwnd, WPARAM which, HICON& slot, HICON fresh) {
    if (!fresh) return;
    SendMessageW(hwnd, WM_SETICON, which, reinterpret_cast<LPARAM>(fresh));
    if (slot) DestroyIcon(slot);  // only once its replacement is in place
    slot = fresh;
}

}  // namespace

void change_theme(AppState& state, Theme value) {
    std::optional<uint32_t> system;
    if (auto light = read_apps_use_light_theme()) system = *light ? 1u : 0u;
    set_theme(state.settings, theme_state(), value, system);
    save_settings(state.settings);
    refresh_views(state);
}

void change_accent(AppState& state, uint32_t rgb, bool save) {
    set_accent(state.settings, theme_state(), rgb);
    if (save) save_settings(state.settings);
    // The colour painted: the system's highlight while high contrast is on.
    const uint32_t accent = theme_state().accent;

    if (state.main) {
        replace_window_icon(state.main, ICON_BIG, state.icon_big, program_icon(state.instance, 32, accent));
        replace_window_icon(state.main, ICON_SMALL, state.icon_small, program_icon(state.instance, 16, accent));
    }

    // The overlay and highlight windows show their class brush. The new brush goes to
    // both classes before the old one is deleted; overlays created later take the
    // current brush when they are made (Win32EngineShell::create_overlays).
    HBRUSH fresh = CreateSolidBrush(RGB((accent >> 16) & 0xFF, (accent >> 8) & 0xFF, accent & 0xFF));
    if (fresh) {
        HBRUSH old = state.accent_brush;
        state.accent_brush = fresh;
        if (state.highlight)
            SetClassLongPtrW(state.highlight, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(fresh));
        if (state.shell) state.shell->repaint_with_accent_brush();
        if (state.highlight) InvalidateRect(state.highlight, nullptr, TRUE);
        if (old) DeleteObject(old);
    }
    tray_refresh(state);
    share_frames_follow_accent();
    refresh_views(state);
}

namespace {

BOOL CALLBACK invalidate_window(HWND hwnd, LPARAM) {
    InvalidateRect(hwnd, nullptr, FALSE);
    return TRUE;
}

}  // namespace

void follow_system_colors(AppState& state) {
    if (!set_high_contrast(theme_state(), state.settings.accent_color, read_high_contrast())) return;
    // Icons, overlay brushes, the tray icon and the main window follow as for a new
    // accent; every other drawn window of the thread repaints.
    change_accent(state, state.settings.accent_color, false);
    EnumThreadWindows(GetCurrentThreadId(), invalidate_window, 0);
}

}  // namespace tw::app
