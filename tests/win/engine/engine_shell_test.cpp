// The engine's Win32 side: what its hook callbacks post, the left-button flag they
// share, and the minimise animation it turns off while the engine runs.
#include "app/app_state.h"
#include "app/engine/engine_shell_win.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tw::app {
namespace {

using test::TestWindow;

// The messages the hooks posted to the window, in order.
std::vector<UINT> posted(HWND hwnd) {
    std::vector<UINT> out;
    MSG msg;
    while (PeekMessageW(&msg, hwnd, WM_APP, WM_APP + 20, PM_REMOVE)) out.push_back(msg.message);
    return out;
}

// Only a change of a window itself (not of a caret, a scroll bar or a child element)
// asks for a confiner pass.
TEST(EngineHooks, WindowEventFilter) {
    TestWindow main(10, 10);
    publish_main_window(main.hwnd());
    const HWND other = main.hwnd();
    struct Case { const char* what; HWND hwnd; LONG object; LONG child; bool posts; };
    const Case cases[] = {
        {"a window", other, OBJID_WINDOW, CHILDID_SELF, true},
        {"no window", nullptr, OBJID_WINDOW, CHILDID_SELF, false},
        {"the caret", other, OBJID_CARET, CHILDID_SELF, false},
        {"a scroll bar", other, OBJID_VSCROLL, CHILDID_SELF, false},
        {"a child element", other, OBJID_WINDOW, 3, false},
    };
    for (const auto& c : cases) {
        for (DWORD event : {DWORD{EVENT_OBJECT_LOCATIONCHANGE}, DWORD{EVENT_SYSTEM_FOREGROUND}}) {
            engine_win_event(nullptr, event, c.hwnd, c.object, c.child, 0, 0);
            EXPECT_EQ(posted(main.hwnd()), c.posts ? std::vector<UINT>{kMsgConfine} : std::vector<UINT>{})
                << c.what;
        }
    }
    publish_main_window(nullptr);
    engine_win_event(nullptr, EVENT_OBJECT_LOCATIONCHANGE, other, OBJID_WINDOW, CHILDID_SELF, 0, 0);
    EXPECT_TRUE(posted(main.hwnd()).empty()) << "no main window published";
}

// A press whose release the hook never saw (the hooks were removed mid-press, or the
// release went to the secure desktop) must not turn later mouse moves into a drag.
TEST(EngineHooks, ButtonFlagIsResetWhenHooksComeAndGo) {
    TestWindow main(10, 10);
    AppState state;
    state.instance = GetModuleHandleW(nullptr);
    Win32EngineShell shell(state);
    publish_main_window(main.hwnd());
    MSLLHOOKSTRUCT info{};
    const auto lp = reinterpret_cast<LPARAM>(&info);

    engine_mouse_hook(HC_ACTION, WM_MOUSEMOVE, lp);
    engine_mouse_hook(HC_ACTION, WM_LBUTTONDOWN, lp);
    engine_mouse_hook(HC_ACTION, WM_MOUSEMOVE, lp);
    engine_mouse_hook(HC_ACTION, WM_LBUTTONUP, lp);
    engine_mouse_hook(HC_ACTION, WM_LBUTTONUP, lp);
    EXPECT_EQ(posted(main.hwnd()), (std::vector<UINT>{kMsgButtonDown, kMsgMouseMove, kMsgButtonUp}));

    struct Case { const char* what; bool install_first; };
    for (const auto& c : {Case{"hooks installed mid-press", false}, Case{"hooks removed mid-press", true}}) {
        if (c.install_first) shell.install_hooks();
        engine_mouse_hook(HC_ACTION, WM_LBUTTONDOWN, lp);
        if (c.install_first)
            shell.remove_hooks();
        else
            shell.install_hooks();
        engine_mouse_hook(HC_ACTION, WM_MOUSEMOVE, lp);
        engine_mouse_hook(HC_ACTION, WM_LBUTTONUP, lp);
        shell.remove_hooks();
        EXPECT_EQ(posted(main.hwnd()), std::vector<UINT>{kMsgButtonDown}) << c.what;
    }
    publish_main_window(nullptr);
}

// The system's animation setting as a test sees it: the value, whether reading it
// fails, and every write.
struct AnimationSetting {
    int value = 0;
    bool get_fails = false;
    std::vector<std::pair<int, UINT>> writes;  // (iMinAnimate, flags)
};
AnimationSetting g_animation;

BOOL WINAPI fake_system_parameters(UINT action, UINT, PVOID param, UINT flags) {
    auto* ai = static_cast<ANIMATIONINFO*>(param);
    if (action == SPI_GETANIMATION) {
        if (g_animation.get_fails) return FALSE;
        ai->iMinAnimate = g_animation.value;
    } else if (action == SPI_SETANIMATION) {
        g_animation.value = ai->iMinAnimate;
        g_animation.writes.emplace_back(ai->iMinAnimate, flags);
    }
    return TRUE;
}

// The minimise and restore animation is off while the engine runs and back to the
// user's setting afterwards; when it was off to begin with, or cannot be read, it is
// never written. A second start keeps the first saved value, a second stop writes
// nothing.
TEST(EngineAnimation, SavedAndRestored) {
    using Writes = std::vector<std::pair<int, UINT>>;
    struct Case { const char* what; int user; bool get_fails; Writes writes; };
    const Case cases[] = {
        {"on", 1, false, {{0, SPIF_SENDCHANGE}, {1, SPIF_SENDCHANGE}}},
        {"off", 0, false, {}},
        {"unreadable", 1, true, {}},
    };
    AppState state;
    Win32EngineShell shell(state);
    shell.system_parameters = fake_system_parameters;
    for (const auto& c : cases) {
        g_animation = {c.user, c.get_fails, {}};
        shell.suspend_animation();
        EXPECT_EQ(g_animation.value, c.get_fails ? c.user : 0) << c.what;
        shell.suspend_animation();
        shell.restore_animation();
        shell.restore_animation();
        EXPECT_EQ(g_animation.value, c.user) << c.what;
        EXPECT_EQ(g_animation.writes, c.writes) << c.what;
    }
}

// The same with the system's own setting; other programs hear of a change only when
// there was one.
TEST(EngineAnimation, SystemSettingComesBack) {
    ANIMATIONINFO ai{sizeof(ANIMATIONINFO), 0};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETANIMATION, sizeof ai, &ai, 0));
    const int user = ai.iMinAnimate;
    int changes = 0;
    TestWindow listener(10, 10, [&](HWND, UINT msg, WPARAM wp, LPARAM) {
        if (msg == WM_SETTINGCHANGE && wp == SPI_SETANIMATION) ++changes;
        return false;
    });
    AppState state;
    Win32EngineShell shell(state);
    shell.suspend_animation();
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETANIMATION, sizeof ai, &ai, 0));
    EXPECT_EQ(ai.iMinAnimate, 0);
    shell.restore_animation();
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETANIMATION, sizeof ai, &ai, 0));
    EXPECT_EQ(ai.iMinAnimate, user);
    TestWindow::pump();
    EXPECT_EQ(changes, user ? 2 : 0);
}

}  // namespace
}  // namespace tw::app
