#include "app/windows/main_view_win.h"

#include <windowsx.h>

#include "app/app_state.h"
#include "app/platform/autostart.h"
#include "app/engine/engine_shell_win.h"
#include "app/windows/about_dialog.h"
#include "app/windows/color_dialog.h"
#include "app/windows/editor_window.h"
#include "app/windows/excluded_apps_dialog.h"
#include "app/windows/main_window.h"
#include "app/windows/shortcuts_window.h"
#include "app/windows/tray.h"
#include "app/windows/update_dialog.h"
#include "app/windows/user_notice.h"
#include "app/net/language_service.h"
#include "app/net/update_service.h"
#include "app/platform/system_theme.h"
#include "app/share/zone_share.h"
#include "core/model/catalog.h"
#include "core/base/log.h"
#include "core/views/dialog_views.h"
#include "core/views/main_view.h"
#include "core/views/tooltips.h"
#include "core/ui/accessible_tree.h"
#include "core/ui/keyboard_nav.h"
#include "version.h"

namespace tw::app {

namespace {

struct ClientDips {
    int32_t width = kMainWidth;
    int32_t height = kMainHeight;
};

ClientDips client_dips(HWND hwnd) {
    RECT rc{};
    if (!hwnd || !GetClientRect(hwnd, &rc) || rc.right <= 0 || rc.bottom <= 0) return {};
    const LogicalSize s = logical_size(rc.right, rc.bottom, scale_for_window(hwnd));
    return {s.width, s.height};
}

}  // namespace

MainViewWindow& main_view_window() {
    static thread_local MainViewWindow view;
    return view;
}

MainViewInput MainViewWindow::input(AppState& state) {
    const ClientDips client = client_dips(state.main);
    MainViewInput in(state.settings);
    in.screens = state.screens;
    in.engine_running = state.engine->running();
    in.zones_shown = state.engine->zones_visible();
    in.languages = state.net.language_menu;
    in.language_download_pending = state.net.language_download.has_value();
    if (state.net.known_update) in.update_version = state.net.known_update->version;
    in.current_language = current_language().empty() ? std::string("en") : current_language();
    in.autostart_enabled = autostart_enabled();
    in.program_version = TW_VERSION_STRING;
    in.layout_menu_open = layout_menu_open_;
    in.language_menu_open = language_menu_open_;
    in.layout_list_first = layout_first_;
    in.scroll = scroll_;
    in.status_note = status_note_;
    in.width = client.width;
    in.height = client.height;
    in.measure = drawn_.renderer();
    return in;
}

void MainViewWindow::rebuild(AppState& state) {
    if (!state.main || !state.engine) return;
    // Once Tilewright has run, by any way of starting it, the first-start hint is done.
    if (state.engine->running() && !state.settings.start_hint_done) {
        state.settings.start_hint_done = true;
        save_settings(state.settings);
    }
    MainView view = build_main_view(input(state));
    widgets_ = std::move(view.widgets);
    previews_ = std::move(view.previews);
    scroll_ = view.scroll;
    layout_first_ = view.layout_list_first;
    if (focus_ && *focus_ >= widgets_.size()) focus_.reset();
    tracker_.reapply(widgets_);
    InvalidateRect(state.main, nullptr, FALSE);
}

void MainViewWindow::paint(AppState& state, HWND hwnd) {
    drawn_.set_accessible_tree([this] { return accessible_tree(widgets_, focus_, previews_); });
    drawn_.on_paint(
        hwnd,
        [this, &state](Renderer&, LogicalSize) {
            if (widgets_.empty()) rebuild(state);
        },
        [this](Renderer& r, LogicalSize size) {
            const std::optional<size_t> focus = focus_visible_ ? focus_ : std::nullopt;
            return r.paint(widgets_, focus, previews_, static_cast<float>(size.width),
                           static_cast<float>(size.height));
        });
}

void MainViewWindow::size(AppState& state, LPARAM lparam) {
    if (LOWORD(lparam) == 0 || HIWORD(lparam) == 0) return;
    drawn_.on_size(lparam);
    rebuild(state);
}

bool MainViewWindow::is_caption(HWND hwnd, POINT client) const {
    const double scale = scale_for_window(hwnd);
    const auto x = static_cast<int32_t>(client.x / scale + 0.5);
    const auto y = static_cast<int32_t>(client.y / scale + 0.5);
    return is_caption_point(widgets_, x, y);
}

bool MainViewWindow::mouse(AppState& state, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MOUSEWHEEL: {
        // The wheel's position comes in screen coordinates.
        POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ScreenToClient(hwnd, &at);
        const Point p = mouse_position_dips(hwnd, MAKELPARAM(at.x, at.y));
        if (auto first = layout_list_wheel(input(state), widgets_, p.x, p.y,
                                           GET_WHEEL_DELTA_WPARAM(wp))) {
            if (*first != layout_first_) {
                layout_first_ = *first;
                rebuild(state);
            }
            return true;
        }
        const int32_t next = wheel_scroll(scroll_, GET_WHEEL_DELTA_WPARAM(wp), widgets_,
                                          client_dips(hwnd).height);
        if (next != scroll_) {
            scroll_ = next;
            rebuild(state);
        }
        return true;
    }
    case WM_LBUTTONDOWN: {
        const Point p = mouse_position_dips(hwnd, lp);
        if (!press_proceeds(widgets_, p.x, p.y, layout_menu_open_, language_menu_open_)) {
            layout_menu_open_ = language_menu_open_ = false;
            rebuild(state);
            return true;
        }
        if (hit_test(widgets_, p.x, p.y)) {
            focus_visible_ = false;
            SetFocus(hwnd);
        }
        handle_widget_mouse(hwnd, msg, lp, widgets_, tracker_);
        return true;
    }
    case WM_MOUSEMOVE:
    case WM_CAPTURECHANGED: {
        handle_widget_mouse(hwnd, msg, lp, widgets_, tracker_);
        const std::optional<size_t> hovered = tracker_.hovered();
        const WidgetItem* item = hovered && *hovered < widgets_.size() ? &widgets_[*hovered] : nullptr;
        tooltip_.follow(hwnd, item, item ? tooltip_key(TipWindow::Main, item->id) : std::nullopt,
                        scale_for_window(hwnd));
        return true;
    }
    case WM_LBUTTONUP:
        if (auto command = handle_widget_mouse(hwnd, msg, lp, widgets_, tracker_))
            run_command(state, hwnd, *command);
        return true;
    default:
        return false;
    }
}

bool MainViewWindow::key(AppState& state, HWND hwnd, WPARAM vk) {
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if (vk == VK_ESCAPE) {
        if (!layout_menu_open_ && !language_menu_open_) return false;
        layout_menu_open_ = language_menu_open_ = false;
        rebuild(state);
        focus_ = refocus(widgets_, list_owner_, std::nullopt);
        return true;
    }
    const std::optional<NavKey> nav = nav_key(vk, shift);
    if (!nav) return false;
    const NavStep step = keyboard_step(widgets_, focus_, *nav);
    if (!step.handled) return false;
    focus_ = step.focus;
    focus_visible_ = true;
    if (step.command) {
        const bool list_was_open = layout_menu_open_ || language_menu_open_;
        const std::optional<uint64_t> focused =
            focus_ && *focus_ < widgets_.size() ? std::optional(widgets_[*focus_].id) : std::nullopt;
        if (focus_ && widgets_[*focus_].kind == 14) list_owner_ = focused;
        run_command(state, hwnd, *step.command);
        if (!state.main) return true;
        const bool list_open = layout_menu_open_ || language_menu_open_;
        if (list_open && !list_was_open) focus_ = open_list_focus(widgets_);
        else if (!list_open && list_was_open) focus_ = refocus(widgets_, list_owner_, std::nullopt);
        else focus_ = refocus(widgets_, focused, focus_);
    }
    scroll_to_focus(state, hwnd);
    InvalidateRect(hwnd, nullptr, FALSE);
    return true;
}

// A control reached with Tab below or above the visible part scrolls into view.
void MainViewWindow::scroll_to_focus(AppState& state, HWND hwnd) {
    if (!focus_ || *focus_ >= widgets_.size()) return;
    const Rect& r = widgets_[*focus_].rect;
    const int32_t height = client_dips(hwnd).height;
    int32_t next = scroll_;
    if (r.top < 8) next += r.top - 8;
    else if (r.bottom > height - 8) next += r.bottom - height + 8;
    next = std::max(0, next);
    if (next == scroll_) return;
    scroll_ = next;
    rebuild(state);
}

void MainViewWindow::command(AppState& state, uint64_t id) { run_command(state, state.main, id); }

bool MainViewWindow::choose_layout(AppState& state, size_t screen, size_t layout) {
    if (screen >= state.screens.size() || screen >= main_id::kMaxScreenTabs) return false;
    const ScreenLayout* entry = find_screen(state.settings, state.screens[screen].id);
    if (!entry || layout >= entry->layouts.size()) return false;
    MainCommand cmd;
    cmd.close_lists = true;
    if (state.settings.selected_screen != state.screens[screen].id) {
        cmd.action = MainAction::SelectScreen;
        cmd.index = screen;
        carry_out(state, state.main, cmd);
    }
    cmd.action = MainAction::SelectLayout;
    cmd.index = layout;
    carry_out(state, state.main, cmd);
    return true;
}

std::optional<LRESULT> MainViewWindow::get_object(HWND hwnd, WPARAM wp, LPARAM lp) {
    drawn_.set_accessible_tree([this] { return accessible_tree(widgets_, focus_, previews_); });
    return drawn_.on_get_object(hwnd, wp, lp);
}

void MainViewWindow::accessible_action(AppState& state, HWND hwnd, WPARAM wp, LPARAM lp) {
    if (const auto id = accessible_action_command(widgets_, wp, lp)) run_command(state, hwnd, *id);
}

void MainViewWindow::run_command(AppState& state, HWND hwnd, uint64_t id) {
    status_note_.clear();  // a new command: what the last one could not do is old news
    carry_out(state, hwnd, decide_main_command(id, input(state), widgets_));
}

void MainViewWindow::carry_out(AppState& state, HWND hwnd, const MainCommand& cmd) {
    const bool layout_list_was_open = layout_menu_open_;
    apply_list_command(cmd, layout_menu_open_, language_menu_open_);
    if (layout_menu_open_ && !layout_list_was_open)
        layout_first_ = layout_list_first_on_open(input(state));
    const bool changed = apply_main_command(state.settings, cmd, state.screens);
    if (changed) save_settings(state.settings);

    Engine& engine = *state.engine;
    using A = MainAction;
    switch (cmd.action) {
    case A::ToggleEngine: toggle_engine_or_say_why(state); break;
    case A::ToggleZones: engine.toggle_zones(); break;
    case A::SelectLayout:
        if (changed) tw::app::choose_layout(state, state.settings.selected_screen);
        break;
    case A::ToggleCoverTaskbar:
    case A::ToggleScreenEnabled:
        // New zones: shares of the old ones end, held windows follow into the new zones
        // (or are let go on a screen switched off), and the engine stops when no zones
        // are left.
        if (changed) close_all_shares(state);
        if (changed && engine.running()) engine.follow_layout_change();
        break;
    case A::SetStartWithWindows: set_autostart(cmd.value); break;
    case A::ToggleHideToTray: tray_follow_setting(state); break;
    // Turned on: the check goes out now when it is due, not at the next timer tick.
    case A::ToggleCheckForUpdates: request_update_check(state, false); break;
    case A::SetTheme:
        apply_theme_settings(state.settings);
        break;
    case A::Minimise: ShowWindow(hwnd, SW_MINIMIZE); break;
    case A::Close: SendMessageW(hwnd, WM_CLOSE, 0, 0); return;
    case A::SelectLanguage: choose_language(state, cmd.index); break;
    case A::OpenLayoutManager: open_editor(state); break;
    case A::OpenShortcuts: open_shortcuts_window(state); return;
    case A::OpenColour: open_color_dialog(state); return;
    case A::OpenUpdate: open_offered_update_dialog(state); return;
    case A::OpenAbout: open_about_dialog(state); return;
    case A::ToggleOpenInLastZone: apply_app_rules(state); break;
    case A::OpenExcludedApps: open_excluded_apps_dialog(state); return;
    default: break;
    }
    refresh_views(state);
}

}  // namespace tw::app
