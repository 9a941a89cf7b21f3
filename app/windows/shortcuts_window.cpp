#include "app/windows/shortcuts_window.h"

#include "app/app_state.h"
#include "app/engine/hotkeys_win.h"
#include "app/engine/screens_win.h"
#include "app/windows/dialog_frame.h"
#include "core/base/log.h"
#include "core/model/catalog.h"
#include "core/views/shortcuts_view.h"

namespace tw::app {

namespace {

// A key pressed while a row is captured, seen by the keyboard hook: wParam the
// virtual key, lParam the modifier flags held at that moment.
constexpr UINT kMsgCapturedKey = WM_APP + 40;

bool key_down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }
bool key_down_now(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

// While a row is captured, a low-level keyboard hook takes the main key of every
// combination before the system does: a combination that another program has
// registered never reaches the window as WM_KEYDOWN (its owner gets WM_HOTKEY
// instead), so without the hook it could be neither refused with its message nor
// kept from triggering the other program. Modifier keys pass through unchanged.
HWND g_capturing_window = nullptr;

LRESULT CALLBACK on_capture_key(int code, WPARAM wp, LPARAM lp) {
    // Only while the window is in front: typing into another program goes on as usual.
    if (code == HC_ACTION && g_capturing_window && GetForegroundWindow() == g_capturing_window) {
        const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
        const uint32_t vk = k->vkCode;
        const bool modifier = is_modifier_only_key(vk) || (vk >= VK_LSHIFT && vk <= VK_RMENU);
        if (!modifier) {
            if (wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN) {
                const uint32_t modifiers =
                    modifiers_from_keys(key_down_now(VK_MENU), key_down_now(VK_CONTROL), key_down_now(VK_SHIFT),
                                        key_down_now(VK_LWIN) || key_down_now(VK_RWIN));
                PostMessageW(g_capturing_window, kMsgCapturedKey, vk, modifiers);
            }
            return 1;  // the window has it; nobody else acts on it
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

class ShortcutsWindow final : public DialogFrame {
public:
    explicit ShortcutsWindow(AppState& app) : DialogFrame(app), state_(open_shortcuts(app.settings)) {}

protected:
    std::vector<WidgetItem> build(int32_t width, int32_t height, TextMeasure* measure) override {
        height_ = height;
        return build_shortcuts_view(state_, width, measure, height);
    }

    void command(uint64_t id) override { apply(shortcuts_click(state_, id)); }

    bool message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            // WM_SYSKEYDOWN too: that is how combinations with Alt arrive.
            const uint32_t modifiers = modifiers_from_keys(key_down(VK_MENU), key_down(VK_CONTROL),
                                                           key_down(VK_SHIFT),
                                                           key_down(VK_LWIN) || key_down(VK_RWIN));
            if (!key(static_cast<uint32_t>(wp), modifiers)) return false;
            result = 0;
            return true;
        }
        case WM_MOUSEWHEEL:
            if (shortcuts_wheel(state_, GET_WHEEL_DELTA_WPARAM(wp), height_)) rebuild();
            result = 0;
            return true;
        case kMsgCapturedKey:
            if (state_.capture) key(static_cast<uint32_t>(wp), static_cast<uint32_t>(lp));
            result = 0;
            return true;
        case WM_SYSKEYUP:
        case WM_SYSCHAR:
        case WM_CHAR:
            // While capturing, Alt and its characters must not open the window menu.
            if (!state_.capture) return false;
            result = 0;
            return true;
        default:
            return false;
        }
    }

    void dpi_changed(UINT dpi, const RECT&) override {
        fit_window(hwnd(), kShortcutsWidth, kShortcutsHeight, dpi / 96.0);
    }

    void destroyed() override {
        capture_keys(false);
        if (hook_) UnhookWindowsHookEx(hook_);
        HWND main = app_.main;
        app_.shortcuts_window = nullptr;
        if (!main) return;
        register_engine_hotkeys(main, app_.settings);
        register_share_hotkeys(main, app_.settings);
        EnableWindow(main, TRUE);
        SetForegroundWindow(main);
    }

private:
    // False when the key is not the window's (default handling).
    bool key(uint32_t vk, uint32_t modifiers) {
        const HWND self = hwnd();
        const auto effect = shortcuts_key(state_, vk, modifiers, [self](HotkeyBinding b) {
            if (!RegisterHotKey(self, kTestHotkeyId, b.modifiers | kModNoRepeat, b.key)) return false;
            UnregisterHotKey(self, kTestHotkeyId);
            return true;
        });
        if (effect == ShortcutsEffect::PassOn) return false;
        apply(effect);
        return true;
    }

public:
    // The hook lives as long as the window (one installed only when a capture starts
    // can miss the first key pressed) and acts only while a row is captured.
    void watch_keys() {
        hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, on_capture_key, GetModuleHandleW(nullptr), 0);
        if (!hook_) log("shortcuts: SetWindowsHookExW failed; combinations held by other programs pass by");
    }

private:
    void capture_keys(bool on) { g_capturing_window = on && hook_ ? hwnd() : nullptr; }

    // Each effect that closes the window is the last thing done.
    void apply(ShortcutsEffect effect) {
        switch (effect) {
        case ShortcutsEffect::Capture:
            SetFocus(hwnd());
            capture_keys(true);
            rebuild();
            return;
        case ShortcutsEffect::Rebuild:
            capture_keys(state_.capture.has_value());
            rebuild();
            return;
        case ShortcutsEffect::Save:
            if (save_shortcuts(state_, app_.settings)) save_settings(app_.settings);
            close();
            return;
        case ShortcutsEffect::Close: close(); return;
        default: return;
        }
    }

    ShortcutsState state_;
    HHOOK hook_ = nullptr;
    int32_t height_ = kShortcutsHeight;  // the client's DIPs at the last build
};

}  // namespace

void open_shortcuts_window(AppState& state) {
    if (state.shortcuts_window) {
        SetForegroundWindow(state.shortcuts_window);
        return;
    }
    const std::string title = tr("shortcuts.heading");
    auto window = std::make_unique<ShortcutsWindow>(state);
    ShortcutsWindow* self = window.get();
    HWND hwnd = DialogFrame::create(std::move(window), state.instance, state.main,
                                    {L"TilewrightShortcuts", title, kShortcutsWidth, kShortcutsHeight,
                                     DialogFrame::Placement::OnOwner});
    if (!hwnd) return;
    self->watch_keys();
    state.shortcuts_window = hwnd;
    if (state.main) {
        EnableWindow(state.main, FALSE);
        unregister_engine_hotkeys(state.main);
        unregister_share_hotkeys(state.main);
    }
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
}

}  // namespace tw::app
