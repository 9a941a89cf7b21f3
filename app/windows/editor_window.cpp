#include "app/windows/editor_window.h"

// Core and toolkit headers come before <windowsx.h>: see the note on `near` in
// core/base/geometry.h.
#include "app/app_state.h"
#include "app/engine/screens_win.h"
#include "app/engine/win32_desktop.h"
#include "app/platform/wide_text.h"
#include "app/toolkit/caret_blink.h"
#include "app/toolkit/clipboard.h"
#include "app/toolkit/drawn_window.h"
#include "app/toolkit/tooltip.h"
#include "app/windows/main_window.h"
#include "core/base/log.h"
#include "core/model/catalog.h"
#include "core/ui/accessible_tree.h"
#include "core/views/editor_command.h"
#include "core/views/tooltips.h"
#include "core/views/editor_keys.h"

#include <dwmapi.h>
#include <shellscalingapi.h>
#include <windowsx.h>

#include <cmath>

namespace tw::app {

namespace {

constexpr wchar_t kEditorClass[] = L"TilewrightEditor";

struct EditorWindow {
    AppState& app;
    EditorState st;
    std::vector<WidgetItem> widgets;
    PointerTracker tracker;
    Tooltip tooltip;
    DrawnWindow drawn;
    CaretBlink caret{kEditorCaretTimer};
    bool selecting = false;       // a mouse selection in a text field
    bool tracking_leave = false;  // TrackMouseEvent asked for WM_MOUSELEAVE
    int32_t client_height = 0;    // DIPs the view may use before it scrolls
    int32_t body_bottom = INT32_MAX;  // the top of a pinned footer: the canvas ends there
    std::optional<EditorPage> laid_out = std::nullopt;  // the page of the last layout
    // A control other than a text field that the keyboard reached (fields keep their
    // focus in the editor state), followed across rebuilds by its command.
    std::optional<size_t> focus_item = std::nullopt;
    std::optional<uint64_t> focus_command = std::nullopt;
    bool focus_visible = false;   // the ring shows after a key, not after a click
};

EditorWindow* window_of(HWND hwnd) {
    return reinterpret_cast<EditorWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

bool key_down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// The window's size follows its content: 480 DIPs wide and as high as the view needs,
// at most the primary work area's height and never past the bottom of its monitor's
// work area (the edit view scrolls instead). It keeps its place, so that the canvas
// does not move under the pointer, unless it was dragged so low that the view does
// not fit in what is left, or a page that does not fit below it opens: then it moves
// up, as far as the top of the work area.
void rebuild(EditorWindow& w, HWND hwnd) {
    const double scale = scale_for_window(hwnd);
    RECT r{};
    GetWindowRect(hwnd, &r);
    Rect work = primary_work_area();
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi)) work = to_rect(mi.rcWork);
    const int most = std::max(1, std::min(primary_work_area().height(), work.height()));
    int top = r.top;
    auto room = [&] { return std::clamp(work.bottom - top, 1, most); };
    EditorView view = build_editor_view(w.st, static_cast<int32_t>(room() / scale));
    const int wanted = editor_window_height(view.content_bottom, scale, most);
    const bool new_page = w.laid_out != w.st.page;
    w.laid_out = w.st.page;
    if (wanted > room() && (new_page || room() < std::lround(360 * scale))) {
        top = std::max(work.top, work.bottom - wanted);
        view = build_editor_view(w.st, static_cast<int32_t>(room() / scale));
    }
    w.client_height = static_cast<int32_t>(room() / scale);
    if (w.st.page == EditorPage::Edit) w.st.scroll = view.scroll;
    w.body_bottom = view.body_bottom;
    w.widgets = std::move(view.widgets);
    w.tracker.reapply(w.widgets);

    const int width = static_cast<int>(std::lround(kEditorWidth * scale));
    const int height = std::min(wanted, room());
    if (r.right - r.left != width || r.bottom - r.top != height || r.top != top) {
        SetWindowPos(hwnd, nullptr, r.left, top, width, height,
                     SWP_NOACTIVATE | SWP_NOZORDER | (top == r.top ? SWP_NOMOVE : 0));
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

// Carries out what a command or input decided. Returns false when the window is gone.
bool apply(EditorWindow& w, HWND hwnd, const EditorOutcome& out) {
    if (!out.log.empty()) log(out.log);
    if (out.settings_changed) {
        if (out.zones_changed) {
            after_layout_change(w.app);  // saves, held windows follow, rebuilds the views
        } else {
            save_settings(w.app.settings);
            refresh_views(w.app);
        }
    }
    if (out.close) {
        DestroyWindow(hwnd);
        return false;
    }
    if (out.caret) {
        w.caret.start(hwnd);
    } else if (w.st.focus.field == EditorFocus::Field::None && w.caret.running()) {
        w.caret.stop(hwnd);
    }
    if (out.rebuild) {
        rebuild(w, hwnd);
    } else if (out.repaint) {
        InvalidateRect(hwnd, nullptr, FALSE);
    }
    return true;
}

const WidgetItem* item_with_id(const std::vector<WidgetItem>& items, uint64_t id) {
    for (const WidgetItem& it : items)
        if (it.id == id) return &it;
    return nullptr;
}

// The caret index under x in the focused field.
void place_caret(EditorWindow& w, int32_t x, bool extend) {
    TextField* field = text_field(w.st, w.st.focus);
    const uint64_t id = w.st.focus.field == EditorFocus::Field::Name    ? editor_id::kNameField
                        : w.st.focus.field == EditorFocus::Field::Width ? editor_id::kWidthField + w.st.focus.zone
                                                                         : editor_id::kHeightField + w.st.focus.zone;
    const WidgetItem* item = item_with_id(w.widgets, id);
    if (!field || !item) return;
    field->set_caret(field->caret_from_x(to_rectf(item->rect), static_cast<float>(x), w.drawn.renderer()), extend);
}

void on_button_down(EditorWindow& w, HWND hwnd, WPARAM wp, LPARAM lp) {
    const Point p = mouse_position_dips(hwnd, lp);
    w.focus_item.reset();
    w.focus_command.reset();
    w.focus_visible = false;
    const std::optional<size_t> hit = hit_test(w.widgets, p.x, p.y);
    if (hit && w.widgets[*hit].kind == 18) {
        if (!apply(w, hwnd, focus_field(w.st, field_of_item(w.widgets[*hit].id)))) return;
        place_caret(w, p.x, false);
        w.selecting = true;
        SetCapture(hwnd);
        w.caret.start(hwnd);
        return;
    }
    if (!apply(w, hwnd, release_focus(w.st))) return;
    // While the unsaved-changes prompt shows, its buttons take the clicks even where a
    // scrolled canvas lies beneath them.
    if (w.st.page == EditorPage::Edit && !w.st.unsaved_prompt && contains(canvas_rect(w.st), p) &&
        p.y < w.body_bottom) {
        if (!apply(w, hwnd, canvas_press(w.st, p, (wp & MK_SHIFT) != 0))) return;
        if (w.st.border_press) SetCapture(hwnd);
        return;
    }
    handle_widget_mouse(hwnd, WM_LBUTTONDOWN, lp, w.widgets, w.tracker);
}

void on_mouse_move(EditorWindow& w, HWND hwnd, LPARAM lp) {
    if (!w.tracking_leave) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
        w.tracking_leave = TrackMouseEvent(&tme) != 0;
    }
    const Point p = mouse_position_dips(hwnd, lp);
    if (w.selecting) {
        place_caret(w, p.x, true);
        InvalidateRect(hwnd, nullptr, FALSE);
        return;
    }
    // Under a pinned footer the canvas is hidden: no hover there, but a border being
    // dragged follows the pointer anywhere.
    const Point canvas_p = w.st.border_press || p.y < w.body_bottom ? p : Point{kNowhere, kNowhere};
    if (!apply(w, hwnd, canvas_move(w.st, canvas_p))) return;
    if (!apply(w, hwnd, hover_row_at(w.st, w.widgets, p))) return;
    handle_widget_mouse(hwnd, WM_MOUSEMOVE, lp, w.widgets, w.tracker);
    const std::optional<size_t> hovered = w.tracker.hovered();
    const WidgetItem* item = hovered && *hovered < w.widgets.size() ? &w.widgets[*hovered] : nullptr;
    w.tooltip.follow(hwnd, item, item ? tooltip_key(TipWindow::Editor, item->id) : std::nullopt,
                     scale_for_window(hwnd));
}

void on_button_up(EditorWindow& w, HWND hwnd, LPARAM lp) {
    if (w.selecting) {
        w.selecting = false;
        ReleaseCapture();
        return;
    }
    if (w.st.border_press) {
        const EditorOutcome out = canvas_release(w.st);
        ReleaseCapture();
        apply(w, hwnd, out);
        return;
    }
    if (const std::optional<uint64_t> command = handle_widget_mouse(hwnd, WM_LBUTTONUP, lp, w.widgets, w.tracker))
        apply(w, hwnd, run_editor_command(w.st, w.app.settings, *command));
}

// The message about the name goes as soon as the name is valid.
void after_name_edit(EditorWindow& w, HWND hwnd) {
    if (w.st.focus.field == EditorFocus::Field::Name && name_edited(w.st)) rebuild(w, hwnd);
}

// The widget that has the keyboard focus: the focused text field.
std::optional<size_t> focused_item(const EditorWindow& w) {
    if (w.st.page != EditorPage::Edit || w.st.focus.field == EditorFocus::Field::None) return std::nullopt;
    for (size_t i = 0; i < w.widgets.size(); ++i)
        if (w.widgets[i].kind == 18 && field_of_item(w.widgets[i].id) == w.st.focus) return i;
    return std::nullopt;
}

// The focused item: the focused text field, else the control the keyboard reached.
std::optional<size_t> current_focus(const EditorWindow& w) {
    if (const auto field = focused_item(w)) return field;
    return refocus(w.widgets, w.focus_command, w.focus_item);
}

std::vector<AccessibleNode> accessible_nodes(const EditorWindow& w) {
    return accessible_tree(w.widgets, current_focus(w));
}

std::optional<CanvasKey> canvas_key_of(WPARAM vk) {
    switch (vk) {
    case VK_LEFT: return CanvasKey::Left;
    case VK_RIGHT: return CanvasKey::Right;
    case VK_UP: return CanvasKey::Up;
    case VK_DOWN: return CanvasKey::Down;
    case VK_HOME: return CanvasKey::Home;
    case VK_END: return CanvasKey::End;
    case VK_RETURN:
    case VK_SPACE: return CanvasKey::Activate;
    default: return std::nullopt;
    }
}

// Moves the keyboard focus to item `to`: a text field takes it with its text selected;
// a layout row shows its Edit and delete buttons; the canvas chooses a zone.
void set_focus(EditorWindow& w, HWND hwnd, std::optional<size_t> to) {
    w.focus_visible = true;
    w.focus_item.reset();
    w.focus_command.reset();
    if (!to || *to >= w.widgets.size()) return;
    const WidgetItem it = w.widgets[*to];
    if (it.kind == 18) {
        if (!apply(w, hwnd, focus_field(w.st, field_of_item(it.id)))) return;
        if (TextField* field = text_field(w.st, w.st.focus)) field->select_all();
        w.caret.start(hwnd);
        rebuild(w, hwnd);
        return;
    }
    w.focus_item = to;
    w.focus_command = it.id;
    if (it.kind == 20 && w.st.hover_row != it.id - editor_id::kRow) {
        w.st.hover_row = it.id - editor_id::kRow;
        rebuild(w, hwnd);
    }
    if (it.kind == 19 && w.st.canvas_hover.kind != CanvasHover::Kind::Zone)
        canvas_key(w.st, CanvasKey::Home, {});
    InvalidateRect(hwnd, nullptr, FALSE);
}

// Keys that move the focus over every control, activate it, or work the canvas.
// False leaves the key to the text field and to the editor's own keys (Enter saves,
// Escape closes).
bool keyboard(EditorWindow& w, HWND hwnd, WPARAM vk, bool shift) {
    const std::optional<size_t> field = focused_item(w);
    // Up and Down in the size table go to the same column of the zone above or below.
    const bool size_field = w.st.focus.field == EditorFocus::Field::Width || w.st.focus.field == EditorFocus::Field::Height;
    if (field && size_field && (vk == VK_UP || vk == VK_DOWN)) {
        const size_t zone = w.st.focus.zone;
        if ((vk == VK_UP && zone == 0) || (vk == VK_DOWN && zone + 1 >= w.st.grid.cells.size())) return true;
        const EditorFocus next{w.st.focus.field, vk == VK_UP ? zone - 1 : zone + 1};
        if (!apply(w, hwnd, focus_field(w.st, next))) return true;
        if (TextField* f = text_field(w.st, w.st.focus)) f->select_all();
        w.focus_visible = true;
        rebuild(w, hwnd);
        return true;
    }
    if (field && vk != VK_TAB) return false;
    const std::optional<size_t> at = current_focus(w);
    if (at && w.widgets[*at].kind == 19) {
        if (const auto key = canvas_key_of(vk)) {
            w.focus_visible = true;
            apply(w, hwnd, canvas_key(w.st, *key, {shift, key_down(VK_CONTROL)}));
            InvalidateRect(hwnd, nullptr, FALSE);
            return true;
        }
    }
    if (at && vk == VK_DELETE && w.widgets[*at].kind == 20) {
        const uint64_t row = w.widgets[*at].id - editor_id::kRow;
        apply(w, hwnd, run_editor_command(w.st, w.app.settings, editor_id::kDeleteRow + row));
        return true;
    }
    const std::optional<NavKey> nav = nav_key(vk, shift);
    if (!nav || (!at && *nav == NavKey::Activate)) return false;
    const NavStep step = keyboard_step(w.widgets, at, *nav);
    if (!step.handled) return false;
    if (field && !apply(w, hwnd, release_focus(w.st))) return true;
    set_focus(w, hwnd, step.focus);
    if (step.command) {
        if (!apply(w, hwnd, run_editor_command(w.st, w.app.settings, *step.command))) return true;
        w.focus_item = refocus(w.widgets, w.focus_command, w.focus_item);
        if (!w.focus_item) w.focus_command.reset();
    }
    return true;
}

// A screen reader's default action: what a click on the item does.
void on_accessible_action(EditorWindow& w, HWND hwnd, WPARAM wp, LPARAM lp) {
    const std::optional<uint64_t> id = accessible_action_command(w.widgets, wp, lp);
    if (!id) return;
    if (!apply(w, hwnd, release_focus(w.st))) return;
    apply(w, hwnd, run_editor_command(w.st, w.app.settings, *id));
}

void on_key(EditorWindow& w, HWND hwnd, WPARAM vk) {
    const bool shift = key_down(VK_SHIFT);
    if (keyboard(w, hwnd, vk, shift)) return;
    const EditorOutcome out = editor_key(w.st, w.app.settings, static_cast<uint32_t>(vk), shift, w.client_height);
    if (out != EditorOutcome{}) {
        apply(w, hwnd, out);
        return;
    }
    TextField* field = w.st.page == EditorPage::Edit ? text_field(w.st, w.st.focus) : nullptr;
    if (!field) return;
    const FieldKeyResult r = apply_field_key(*field, static_cast<uint32_t>(vk), shift, key_down(VK_CONTROL));
    if (!r.handled) return;
    if (r.copy) copy_to_clipboard(hwnd, *r.copy);
    if (r.paste) {
        if (const std::optional<std::string> text = read_clipboard(hwnd)) field->paste(*text);
    }
    w.caret.start(hwnd);  // the caret shows at once where it moved
    after_name_edit(w, hwnd);
}

void on_char(EditorWindow& w, HWND hwnd, WPARAM code) {
    if (w.st.unsaved_prompt) return;  // the prompt is answered first
    TextField* field = w.st.page == EditorPage::Edit ? text_field(w.st, w.st.focus) : nullptr;
    if (!field) return;
    if (const std::optional<char32_t> c = field_char(static_cast<uint32_t>(code), key_down(VK_CONTROL), key_down(VK_MENU))) {
        field->insert_chars(std::u32string_view(&*c, 1));
        w.caret.start(hwnd);
        after_name_edit(w, hwnd);
    }
}

LRESULT on_hit_test(EditorWindow& w, HWND hwnd, LPARAM lp) {
    POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ScreenToClient(hwnd, &pt);
    const double scale = scale_for_window(hwnd);
    const auto x = static_cast<int32_t>(std::lround(pt.x / scale));
    const auto y = static_cast<int32_t>(std::lround(pt.y / scale));
    // The title band drags the window, except where something takes clicks: the close
    // glyph, and whatever a scrolled edit view has moved up into the band.
    const bool clickable = hit_test(w.widgets, x, y) ||
                           (w.st.page == EditorPage::Edit && contains(canvas_rect(w.st), {x, y}));
    return y < 40 && !clickable ? HTCAPTION : HTCLIENT;
}

void on_destroy(EditorWindow& w, HWND hwnd) {
    w.caret.stop(hwnd);
    w.drawn.drop_renderer();
    if (w.app.editor == hwnd) w.app.editor = nullptr;
    if (w.app.main) {
        EnableWindow(w.app.main, TRUE);
        SetForegroundWindow(w.app.main);
    }
}

LRESULT CALLBACK editor_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    EditorWindow* w = window_of(hwnd);
    if (!w) return DefWindowProcW(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_NCCALCSIZE:
        if (wp) return 0;  // the whole window is client area
        break;
    case WM_NCHITTEST: return on_hit_test(*w, hwnd, lp);
    case WM_GETOBJECT:
        w->drawn.set_accessible_tree([w] { return accessible_nodes(*w); });
        if (const auto answer = w->drawn.on_get_object(hwnd, wp, lp)) return *answer;
        break;
    case kMsgAccessibleAction: on_accessible_action(*w, hwnd, wp, lp); return 0;
    case WM_GETDLGCODE:
        // The message loop may offer the window's keys to dialog navigation: Tab, Enter
        // and Escape are this window's own.
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTARROWS;
    case WM_PAINT: {
        w->drawn.set_accessible_tree([w] { return accessible_nodes(*w); });
        w->drawn.on_paint(hwnd, nullptr, [w](Renderer& r, LogicalSize size) {
            return r.draw_frame([&](Canvas& c) {
                paint_editor(c, w->st, w->widgets, w->caret.visible(), static_cast<float>(size.width),
                             static_cast<float>(size.height));
                const auto focus = refocus(w->widgets, w->focus_command, w->focus_item);
                if (w->focus_visible && focus) paint_focus_ring(c, w->widgets[*focus].rect);
            });
        });
        return 0;
    }
    case WM_SIZE: w->drawn.on_size(lp); return 0;
    case WM_LBUTTONDOWN: on_button_down(*w, hwnd, wp, lp); return 0;
    case WM_MOUSEMOVE: on_mouse_move(*w, hwnd, lp); return 0;
    case WM_LBUTTONUP: on_button_up(*w, hwnd, lp); return 0;
    case WM_CAPTURECHANGED:
        w->selecting = false;
        canvas_cancel(w->st);
        handle_widget_mouse(hwnd, msg, lp, w->widgets, w->tracker);
        return 0;
    case WM_MOUSELEAVE:
        w->tracking_leave = false;
        w->tracker.leave(w->widgets);
        w->st.canvas_hover = {};
        w->st.hover_row.reset();
        rebuild(*w, hwnd);
        return 0;
    case WM_MOUSEWHEEL:
        apply(*w, hwnd, editor_wheel(w->st, GET_WHEEL_DELTA_WPARAM(wp), w->widgets, w->client_height));
        return 0;
    case WM_KEYDOWN: on_key(*w, hwnd, wp); return 0;
    case WM_CHAR: on_char(*w, hwnd, wp); return 0;
    case WM_TIMER:
        if (!w->caret.on_timer(hwnd, wp)) break;
        // The timer runs from the opening on; with no field focused there is no caret
        // to blink and it stops after this repaint.
        if (w->st.focus.field == EditorFocus::Field::None) w->caret.stop(hwnd);
        return 0;
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOACTIVATE | SWP_NOZORDER);
        w->drawn.drop_renderer();
        rebuild(*w, hwnd);
        return 0;
    }
    // Closing from outside (Alt+F4, the taskbar) asks about unsaved changes too.
    case WM_CLOSE: apply(*w, hwnd, request_close(w->st)); return 0;
    case WM_DESTROY: on_destroy(*w, hwnd); return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        delete w;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool register_editor_class(HINSTANCE instance) {
    static bool registered = false;
    if (registered) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = editor_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kEditorClass;
    registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return registered;
}

// The display scale of the edited screen: its smallest zone is measured at it.
double screen_scale(const AppState& state, const std::string& screen_id) {
    for (const ScreenInfo& s : state.screens) {
        UINT x = 0, y = 0;
        if (s.id == screen_id &&
            SUCCEEDED(GetDpiForMonitor(reinterpret_cast<HMONITOR>(s.monitor), MDT_EFFECTIVE_DPI, &x, &y)) && x >= 96)
            return x / 96.0;
    }
    return 1.0;
}

}  // namespace

void open_editor(AppState& state) {
    if (state.editor && IsWindow(state.editor)) {
        if (IsIconic(state.editor)) ShowWindow(state.editor, SW_RESTORE);
        SetForegroundWindow(state.editor);
        return;
    }
    // With the first frame's line, how long opening takes (tools/measure-open).
    log("editor: opening the layout manager");
    HINSTANCE instance = state.instance ? state.instance : GetModuleHandleW(nullptr);
    if (!register_editor_class(instance)) {
        log("editor: RegisterClassExW failed " + hr_text(static_cast<int32_t>(HRESULT_FROM_WIN32(GetLastError()))));
        return;
    }
    auto* w = new EditorWindow{state, open_editor_state(state.settings, state.screens, primary_work_area()), {}, {}, {}, {}};
    w->st.area_scale = screen_scale(state, w->st.screen_id);
    const Rect work = primary_work_area();
    const int height = editor_window_height(build_editor_view(w->st, work.height()).content_bottom, 1.0, work.height());
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
    RECT main{};
    if (state.main && GetWindowRect(state.main, &main)) {
        x = (main.left + main.right) / 2 - kEditorWidth / 2;
        y = (main.top + main.bottom) / 2 - height / 2;
    }
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kEditorClass, utf8_to_wide(tr("editor.window_title")).c_str(),
                                WS_POPUP | WS_SYSMENU, x, y, kEditorWidth, height, state.main, nullptr, instance, w);
    if (!hwnd) {
        log("editor: CreateWindowExW failed " + hr_text(static_cast<int32_t>(HRESULT_FROM_WIN32(GetLastError()))));
        delete w;
        return;
    }
    state.editor = hwnd;
    // A one-pixel frame extension gives the borderless window the system shadow.
    const MARGINS margins{1, 1, 1, 1};
    DwmExtendFrameIntoClientArea(hwnd, &margins);
    const DWORD round = 2;  // DWMWCP_ROUND
    DwmSetWindowAttribute(hwnd, 33 /* DWMWA_WINDOW_CORNER_PREFERENCE */, &round, sizeof round);
    rebuild(*w, hwnd);  // at the window's own DPI
    if (state.main) EnableWindow(state.main, FALSE);
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    // Its first tick also repaints the new window: under Wine the first frames of a new
    // render target can be lost while the window is being mapped.
    w->caret.start(hwnd);
}

}  // namespace tw::app
