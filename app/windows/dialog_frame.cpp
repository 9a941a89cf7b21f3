#include "app/windows/dialog_frame.h"

#include <dwmapi.h>
#include <windowsx.h>

#include <cmath>
#include <string>

#include "app/app_state.h"
#include "app/engine/screens_win.h"
#include "app/platform/wide_text.h"
#include "core/base/log.h"
#include "core/ui/accessible_tree.h"
#include "core/views/dialog_views.h"

namespace tw::app {

namespace {

int32_t scaled(int32_t dips, double scale) { return static_cast<int32_t>(std::lround(dips * scale)); }

LogicalSize client_size_dips(HWND hwnd) {
    RECT rc{};
    if (!GetClientRect(hwnd, &rc)) return {};
    return logical_size(rc.right, rc.bottom, scale_for_window(hwnd));
}

std::optional<Rect> work_area_of(HWND window) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!window || !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &mi))
        return std::nullopt;
    return Rect{mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
}

bool register_class_once(HINSTANCE instance, const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, name, &existing)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

HWND DialogFrame::create(std::unique_ptr<DialogFrame> dialog, HINSTANCE instance, HWND owner,
                         const Design& design) {
    const std::string class_name = wide_to_utf8(design.class_name);
    if (!register_class_once(instance, design.class_name, proc)) {
        log("dialog: RegisterClassExW failed for " + class_name + " " +
            hr_text(static_cast<int32_t>(HRESULT_FROM_WIN32(GetLastError()))));
        return nullptr;
    }
    // The size at the owner's DPI; corrected below should the window land elsewhere.
    const double scale = owner ? scale_for_window(owner) : 1.0;
    const int32_t w = scaled(design.width, scale), h = scaled(design.height, scale);
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
    RECT owner_rect{};
    if (design.placement == Placement::OnOwner) {
        if (owner && GetWindowRect(owner, &owner_rect)) {
            x = owner_rect.left + (owner_rect.right - owner_rect.left) / 2 - w / 2;
            y = owner_rect.top + (owner_rect.bottom - owner_rect.top) / 2 - h / 2;
        }
    } else if (const auto work = work_area_of(owner)) {
        const Point p = dialog_origin(*work, w, h);
        x = p.x;
        y = p.y;
    }
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, design.class_name, utf8_to_wide(design.title).c_str(),
                                WS_POPUP | WS_SYSMENU, x, y, w, h, owner, nullptr, instance, dialog.get());
    if (!hwnd) {
        log("dialog: CreateWindowExW failed for " + class_name + " " +
            hr_text(static_cast<int32_t>(HRESULT_FROM_WIN32(GetLastError()))));
        return nullptr;  // `dialog` is deleted here, not by the window that never was
    }
    dialog.release()->owned_ = true;  // from now on the window deletes it
    const double actual = scale_for_window(hwnd);
    if (design.placement == Placement::OnOwner)
        fit_window(hwnd, design.width, design.height, actual);  // keeps it on the screen
    else if (actual != scale)
        SetWindowPos(hwnd, nullptr, 0, 0, scaled(design.width, actual), scaled(design.height, actual),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const MARGINS margins{1, 1, 1, 1};
    DwmExtendFrameIntoClientArea(hwnd, &margins);
    const DWORD round = 2;  // DWMWCP_ROUND
    DwmSetWindowAttribute(hwnd, 33 /* DWMWA_WINDOW_CORNER_PREFERENCE */, &round, sizeof round);
    return hwnd;
}

void DialogFrame::open(AppState& state, HWND& slot, std::unique_ptr<DialogFrame> dialog,
                       const Design& design, Modality modality) {
    if (slot) {
        SetForegroundWindow(slot);
        return;
    }
    DialogFrame* self = dialog.get();
    HWND hwnd = create(std::move(dialog), state.instance, state.main, design);
    if (!hwnd) return;
    slot = hwnd;
    self->slot_ = &slot;
    const bool modal = modality == Modality::Modal;
    self->modal_ = modal;
    if (modal && state.main) EnableWindow(state.main, FALSE);
    self->opened();
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    if (modal) SetFocus(hwnd);
}

LRESULT CALLBACK DialogFrame::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<DialogFrame*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<DialogFrame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (self->owned_) delete self;
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return self->handle(msg, wp, lp);
}

// Every branch that may close the window returns at once: `this` is gone then.
LRESULT DialogFrame::handle(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    // Tab walks the controls before a window's own keys see it (a text field would
    // take it otherwise).
    if (msg == WM_KEYDOWN && wp == VK_TAB) {
        navigate(wp);
        return 0;
    }
    if (message(msg, wp, lp, result)) return result;
    switch (msg) {
    case WM_NCCALCSIZE:
        if (wp) return 0;  // the whole window is client area
        break;
    case WM_NCHITTEST: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ScreenToClient(hwnd_, &p);
        const Point dips = mouse_position_dips(hwnd_, MAKELPARAM(p.x, p.y));
        return is_caption_point(widgets_, dips.x, dips.y) ? HTCAPTION : HTCLIENT;
    }
    case WM_GETOBJECT:
        drawn_.set_accessible_tree([this] { return accessible_tree(widgets_, focus_); });
        if (const auto answer = drawn_.on_get_object(hwnd_, wp, lp)) return *answer;
        break;
    case kMsgAccessibleAction:
        if (const auto id = accessible_action_command(widgets_, wp, lp)) command(*id);
        return 0;
    case WM_GETDLGCODE:
        // The message loop gives other windows dialog navigation; these keep every key.
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    case WM_PAINT: paint(); return 0;
    case WM_SIZE:
        if (LOWORD(lp) != 0 && HIWORD(lp) != 0) {
            drawn_.on_size(lp);
            rebuild();
        }
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_CAPTURECHANGED:
        if (msg == WM_LBUTTONDOWN) {
            SetFocus(hwnd_);
            focus_visible_ = false;
        }
        handle_widget_mouse(hwnd_, msg, lp, widgets_, tracker_);
        return 0;
    case WM_LBUTTONUP:
        if (const auto id = handle_widget_mouse(hwnd_, msg, lp, widgets_, tracker_)) command(*id);
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_ESCAPE) {
            escape();
            return 0;
        }
        // Enter on a focused button is its click; elsewhere it is the dialog's default.
        if (wp == VK_RETURN && !(focus_ && *focus_ < widgets_.size() && is_clickable_kind(widgets_[*focus_].kind))) {
            enter();
            return 0;
        }
        if (navigate(wp)) return 0;
        break;
    case WM_DPICHANGED:
        drawn_.drop_renderer();
        dpi_changed(std::max<UINT>(96, LOWORD(wp)), *reinterpret_cast<const RECT*>(lp));
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case WM_CLOSE: close(); return 0;
    case WM_DESTROY:
        drawn_.drop_renderer();
        if (slot_) *slot_ = nullptr;
        destroyed();
        if (modal_ && app_.main) {
            EnableWindow(app_.main, TRUE);
            SetForegroundWindow(app_.main);
        }
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool DialogFrame::message(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

int32_t DialogFrame::client_width_dips() const { return client_size_dips(hwnd_).width; }

bool DialogFrame::navigate(WPARAM vk) {
    const std::optional<NavKey> key = nav_key(vk, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
    if (!key) return false;
    const NavStep step = keyboard_step(widgets_, focus_, *key);
    if (!step.handled) return false;
    focus_ = step.focus;
    focused_command_ = focus_ ? std::optional(widgets_[*focus_].id) : std::nullopt;
    focus_visible_ = true;
    InvalidateRect(hwnd_, nullptr, FALSE);
    if (step.command) command(*step.command);  // may close the window: nothing follows
    return true;
}

void DialogFrame::dpi_changed(UINT, const RECT& r) {
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogFrame::rebuild() {
    const LogicalSize size = client_size_dips(hwnd_);
    if (size.width <= 0 || size.height <= 0) return;
    widgets_ = build(size.width, size.height, drawn_.renderer());
    measured_ = drawn_.renderer() != nullptr;
    tracker_.reapply(widgets_);
    focus_ = refocus(widgets_, focused_command_, focus_);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void DialogFrame::paint() {
    drawn_.set_accessible_tree([this] { return accessible_tree(widgets_, focus_); });
    drawn_.on_paint(
        hwnd_,
        [this](Renderer& r, LogicalSize size) {
            // A list laid out before the renderer existed used estimated text widths.
            if (widgets_.empty() || !measured_) {
                widgets_ = build(size.width, size.height, &r);
                measured_ = true;
                tracker_.reapply(widgets_);
            }
        },
        [this](Renderer& r, LogicalSize size) {
            return r.paint(widgets_, focus_visible_ ? focus_ : std::nullopt, {}, static_cast<float>(size.width),
                           static_cast<float>(size.height), [this](Canvas& c) { draw_over(c); });
        });
}

}  // namespace tw::app
