// Accent changes reach the window classes whose background is the accent colour, also
// when the change happens while no overlay window exists.
#include "app/app_state.h"
#include "app/engine/engine_shell_win.h"
#include "app/windows/theme_win.h"
#include "core/ui/widgets.h"

#include <gtest/gtest.h>

namespace tw::app {
namespace {

COLORREF class_brush_colour(HWND hwnd) {
    auto brush = reinterpret_cast<HBRUSH>(GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND));
    LOGBRUSH lb{};
    if (!brush || !GetObjectW(brush, sizeof lb, &lb)) return CLR_INVALID;
    return lb.lbColor;
}

TEST(AccentChange, ReachesOverlayAndHighlightClasses) {
    const ThemeState saved = theme_state();
    AppState state;
    state.instance = GetModuleHandleW(nullptr);
    state.accent_brush = CreateSolidBrush(RGB(0xA8, 0x55, 0xF7));
    register_overlay_classes(state.instance, state.accent_brush);
    state.highlight = create_highlight_window(state.instance);
    ASSERT_NE(state.highlight, nullptr);
    state.shell = std::make_unique<Win32EngineShell>(state);
    const MonitorZones row{"s", {{0, 0, 100, 100}}, {0, 0, 100, 100}, {0, 0, 100, 100}};

    // While overlays exist.
    auto ids = state.shell->create_overlays({row}, false);
    change_accent(state, 0x10A020, false);
    EXPECT_EQ(state.settings.accent_color, 0x10A020u);
    EXPECT_EQ(theme_state().accent, 0x10A020u);
    EXPECT_EQ(class_brush_colour(to_hwnd(ids[0])), RGB(0x10, 0xA0, 0x20));
    EXPECT_EQ(class_brush_colour(state.highlight), RGB(0x10, 0xA0, 0x20));

    // While the engine is stopped: the next overlays are drawn in the new colour.
    state.shell->destroy_overlays();
    change_accent(state, 0x3050F0, false);
    ids = state.shell->create_overlays({row}, false);
    EXPECT_EQ(class_brush_colour(to_hwnd(ids[0])), RGB(0x30, 0x50, 0xF0));
    EXPECT_EQ(class_brush_colour(state.highlight), RGB(0x30, 0x50, 0xF0));

    state.shell.reset();
    DestroyWindow(state.highlight);
    theme_state() = saved;
}

}  // namespace
}  // namespace tw::app
