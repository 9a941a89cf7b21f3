// The main window's handling of screen changes and of its own end, through its real
// window procedure. The order of the steps is what makes their results right: the
// overlays are built from the screens just read and reconciled, the file saved holds
// those screens, and the engine stops last.
#include "app/app_state.h"
#include "app/engine/engine_shell_win.h"
#include "app/engine/hotkeys_win.h"
#include "app/engine/screens_win.h"
#include "app/windows/main_window.h"
#include "support/env.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tw::app {
namespace {

std::vector<std::string>* g_steps = nullptr;
WNDPROC g_main_proc = nullptr;

// Notes every move or resize of the main window: the re-fit.
LRESULT CALLBACK noting_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_WINDOWPOSCHANGED && g_steps) {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
        if (!(pos->flags & SWP_NOMOVE) || !(pos->flags & SWP_NOSIZE)) g_steps->push_back("refit");
    }
    return CallWindowProcW(g_main_proc, hwnd, msg, wp, lp);
}

// Carries the engine's requests out with the real Win32 shell, and notes the steps
// that matter here together with what was true of the world when they happened.
class StepShell final : public EngineShell {
public:
    StepShell(AppState& state, std::vector<std::string>& steps) : state_(state), steps_(steps) {}
    std::function<std::string()> note = [] { return std::string(); };

    std::vector<MonitorZones> monitor_zone_table() override { return real().monitor_zone_table(); }
    void install_hooks() override { real().install_hooks(); }
    void remove_hooks() override {
        steps_.push_back("stop" + note());
        real().remove_hooks();
    }
    void suspend_animation() override { real().suspend_animation(); }
    void restore_animation() override { real().restore_animation(); }
    std::vector<WindowId> create_overlays(const std::vector<MonitorZones>& rows, bool visible) override {
        steps_.push_back("overlays" + note());
        return real().create_overlays(rows, visible);
    }
    void destroy_overlays() override { real().destroy_overlays(); }
    void show_overlays(bool visible) override { real().show_overlays(visible); }
    void show_highlight(const Rect& zone) override { real().show_highlight(zone); }
    void hide_highlight() override { real().hide_highlight(); }
    void set_timer(EngineTimer timer, uint32_t ms) override { real().set_timer(timer, ms); }
    void kill_timer(EngineTimer timer) override { real().kill_timer(timer); }
    void refresh() override { real().refresh(); }
    void notify_refused_moves() override { real().notify_refused_moves(); }

private:
    Win32EngineShell& real() { return *state_.shell; }
    AppState& state_;
    std::vector<std::string>& steps_;
};

// The program as start-up builds it, with its settings in a folder of the test's own,
// on a screen entry for the attached screen whose name and work area are out of date.
struct MainRig {
    test::TempFolder appdata;
    test::ScopedEnv env{"APPDATA"};
    AppState state;
    std::vector<std::string> steps;
    StepShell shell{state, steps};
    ScreenInfo real;  // the attached screen as the system reports it now

    explicit MainRig(const std::string& stored_name) {
        env.set(appdata.path());
        set_app_state(&state);
        state.instance = GetModuleHandleW(nullptr);
        state.accent_brush = CreateSolidBrush(RGB(0xA8, 0x55, 0xF7));
        register_main_class(state.instance);
        register_overlay_classes(state.instance, state.accent_brush);
        state.highlight = create_highlight_window(state.instance);
        state.shell = std::make_unique<Win32EngineShell>(state);
        state.engine = std::make_unique<Engine>(state.desktop, state.clock, shell, nullptr);
        state.engine->set_highlight_window(to_window_id(state.highlight));
        real = enumerate_screens().at(0);
        ScreenLayout entry = new_screen_layout(real.id, stored_name);
        entry.layouts = {Layout{"Halves", {Zone{0, 0, 0.5, 1}, Zone{0.5, 0, 1, 1}}}};
        entry.active_layout = "Halves";
        state.settings.screens = {entry};
        state.settings.selected_screen = real.id;
        ScreenInfo stale = real;
        stale.name = stored_name;
        stale.work.bottom -= 100;  // the taskbar has grown since
        state.screens = {stale};
        create_main_window(state);
        state.engine->set_main_window(to_window_id(state.main));
        g_steps = &steps;
        g_main_proc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(state.main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(noting_proc)));
    }
    ~MainRig() {
        if (IsWindow(state.main)) DestroyWindow(state.main);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {}  // the quit message included
        g_steps = nullptr;
        state.engine.reset();
        state.shell.reset();
        DestroyWindow(state.highlight);
        DeleteObject(state.accent_brush);
        set_app_state(nullptr);
    }

    std::filesystem::path settings_file() const { return appdata / "Tilewright" / "settings.json"; }
    // Whether the file on disk holds `text`.
    bool saved(const std::string& text) const {
        auto bytes = test::read_bytes(settings_file());
        return bytes && bytes->find(text) != std::string::npos;
    }
    std::string saved_name_note() const {
        return saved("\"Name\": \"" + real.name + "\"") ? " saved" : " unsaved";
    }
    Rect overlay_rect() const {
        RECT r{};
        const auto& overlays = state.shell->overlays();
        if (overlays.empty() || !overlays[0].window || !GetWindowRect(overlays[0].window, &r)) return {};
        return to_rect(r);
    }
    void move_main_off_screen() {
        SetWindowPos(state.main, nullptr, -5000, -5000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        steps.clear();
    }
};

TEST(MainWindowScreens, DisplayChangeRebuildsFromTheScreensJustRead) {
    MainRig r("Old name");
    ASSERT_TRUE(r.state.engine->start());
    ASSERT_NE(r.real.work, r.overlay_rect());
    r.move_main_off_screen();
    r.shell.note = [&] { return r.saved_name_note(); };
    SendMessageW(r.state.main, WM_DISPLAYCHANGE, 32, 0);
    EXPECT_EQ(r.steps, (std::vector<std::string>{"overlays saved", "refit"}));
    EXPECT_EQ(r.state.screens, std::vector<ScreenInfo>{r.real});
    EXPECT_EQ(r.overlay_rect(), r.real.work);
    EXPECT_TRUE(r.state.engine->running());
}

TEST(MainWindowScreens, DisplayChangeThatLeavesNoZonesStopsLast) {
    MainRig r("Old name");
    ASSERT_TRUE(r.state.engine->start());
    r.state.settings.screens[0].enabled = false;
    r.move_main_off_screen();
    r.shell.note = [&] { return r.saved_name_note(); };
    SendMessageW(r.state.main, WM_DISPLAYCHANGE, 32, 0);
    EXPECT_EQ(r.steps, (std::vector<std::string>{"refit", "stop saved"}));
    EXPECT_FALSE(r.state.engine->running());
    EXPECT_EQ(FindWindowW(L"TilewrightOverlay", nullptr), nullptr);
}

// Moving, resizing or auto-hiding the taskbar changes the work area without a display
// change: zones, overlays and the confiner follow it like a display change.
TEST(MainWindowScreens, WorkAreaChangeRebuildsTheZones) {
    struct Case { const char* what; bool renamed; };
    for (const auto& c : {Case{"settings unchanged", false}, Case{"screen renamed", true}}) {
        MainRig r("placeholder");
        r.state.settings.screens[0].name = c.renamed ? "Old name" : r.real.name;
        r.state.screens[0].name = r.state.settings.screens[0].name;
        r.state.settings.start_hint_done = true;  // else the first running view saves that
        ASSERT_TRUE(r.state.engine->start()) << c.what;
        const Rect stale_zone = r.state.engine->confiner().monitor_table().at(0).zones.at(0);
        r.steps.clear();
        SendMessageW(r.state.main, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
        EXPECT_EQ(r.overlay_rect(), r.real.work) << c.what;
        EXPECT_EQ(r.state.engine->zone_table().at(0).area, r.real.work) << c.what;
        const Rect zone = r.state.engine->confiner().monitor_table().at(0).zones.at(0);
        EXPECT_EQ(zone.bottom, r.real.work.bottom) << c.what;
        EXPECT_NE(zone, stale_zone) << c.what;
        // Saved only when reconciling changed something.
        EXPECT_EQ(std::filesystem::exists(r.settings_file()), c.renamed) << c.what;
    }
}

// The end of the program: the window position is saved and the hotkeys are given
// back before the engine stops, and the message loop is told to end after that.
TEST(MainWindowShutdown, SavesAndUnregistersBeforeTheEngineStops) {
    MainRig r("Old name");
    register_engine_hotkeys(r.state.main, r.state.settings);
    ASSERT_TRUE(r.state.engine->start());
    RECT wr{};
    GetWindowRect(r.state.main, &wr);
    const HotkeyBinding left = r.state.settings.hotkey(HotkeyAction::MoveLeft);
    r.shell.note = [&] {
        std::string out = r.saved("\"WindowPos\": [" + std::to_string(wr.left) + ", " + std::to_string(wr.top) + "]")
                              ? " saved" : " unsaved";
        const bool free = RegisterHotKey(nullptr, 0x7000, left.modifiers, left.key);
        if (free) UnregisterHotKey(nullptr, 0x7000);
        MSG msg;
        out += free ? " hotkeys-free" : " hotkeys-held";
        out += PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) ? " quit" : " running";
        return out;
    };
    r.steps.clear();
    DestroyWindow(r.state.main);
    EXPECT_EQ(r.steps, (std::vector<std::string>{"stop saved hotkeys-free running"}));
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(published_main_window(), nullptr);
    EXPECT_FALSE(r.state.engine->running());
}

}  // namespace
}  // namespace tw::app
