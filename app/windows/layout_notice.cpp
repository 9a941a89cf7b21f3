#include "app/windows/layout_notice.h"

#include <string>

#include "app/app_state.h"
#include "app/engine/engine_shell_win.h"
#include "app/platform/wide_text.h"
#include "core/base/log.h"
#include "core/engine/monitors.h"

namespace tw::app {

namespace {

constexpr wchar_t kNoticeClass[] = L"TilewrightLayoutNotice";
constexpr UINT_PTR kNoticeTimer = 1;
// Click-through, never activated, above everything, like the zone overlays.
constexpr DWORD kNoticeExStyle =
    WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED;

struct Notice {
    HWND window = nullptr;
    HFONT font = nullptr;
    std::wstring text;
    RECT box{};
    COLORREF accent = 0;
};
Notice g_notice;  // UI thread only

COLORREF colorref(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

void paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client{};
    GetClientRect(hwnd, &client);
    // The window region keeps only the zone lines and the name's box.
    HBRUSH accent = CreateSolidBrush(g_notice.accent);
    if (accent) {
        FillRect(dc, &client, accent);
        DeleteObject(accent);
    }
    RECT inner = g_notice.box;
    InflateRect(&inner, -2, -2);
    HBRUSH back = CreateSolidBrush(RGB(24, 24, 27));
    if (back) {
        FillRect(dc, &inner, back);
        DeleteObject(back);
    }
    HGDIOBJ old = g_notice.font ? SelectObject(dc, g_notice.font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, g_notice.text.c_str(), static_cast<int>(g_notice.text.size()), &inner,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (old) SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK notice_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: paint(hwnd); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_TIMER:
        if (wp == kNoticeTimer) DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        if (g_notice.window == hwnd) g_notice.window = nullptr;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool register_class(HINSTANCE instance) {
    static bool registered = false;
    if (registered) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = notice_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kNoticeClass;
    registered = RegisterClassExW(&wc) != 0;
    return registered;
}

// The name's font, sized for the screen's pixels per inch.
HFONT notice_font() {
    if (g_notice.font) return g_notice.font;
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    g_notice.font = CreateFontW(-MulDiv(30, dpi, 96), 0, 0, 0, FW_SEMIBOLD, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI");
    return g_notice.font;
}

SIZE text_size(const std::wstring& text) {
    SIZE size{0, 0};
    HDC dc = GetDC(nullptr);
    if (!dc) return size;
    HGDIOBJ old = SelectObject(dc, notice_font());
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (old) SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size;
}

}  // namespace

HWND layout_notice_window() { return g_notice.window; }

void show_layout_notice(AppState& state, const AppliedLayout& applied) {
    const ScreenInfo* screen = nullptr;
    for (const ScreenInfo& s : state.screens)
        if (s.id == applied.screen_id) screen = &s;
    if (!screen) return;  // not attached: nothing to show it on
    Rect area = screen->work;
    std::vector<Rect> zones;
    for (const MonitorZones& row : build_monitor_zones(state.settings.screens, state.screens))
        if (row.screen_id == applied.screen_id) {
            area = row.area;
            zones = row.zones;
        }
    if (!register_class(state.instance)) {
        log("layout_notice: RegisterClassExW failed " + hr_text(HRESULT_FROM_WIN32(GetLastError())));
        return;
    }
    if (g_notice.window) DestroyWindow(g_notice.window);
    g_notice.text = utf8_to_wide(applied.layout);
    const SIZE size = text_size(g_notice.text);
    const LayoutNoticeShape shape = layout_notice_shape(area, zones, size.cx, size.cy);
    g_notice.box = {shape.box.left, shape.box.top, shape.box.right, shape.box.bottom};
    g_notice.accent = colorref(state.settings.accent_color);
    HWND hwnd = CreateWindowExW(kNoticeExStyle, kNoticeClass, L"", WS_POPUP, area.left, area.top,
                                area.width(), area.height(), nullptr, nullptr, state.instance, nullptr);
    if (!hwnd) {
        log("layout_notice: CreateWindowExW failed " + hr_text(HRESULT_FROM_WIN32(GetLastError())));
        return;
    }
    g_notice.window = hwnd;
    SetLayeredWindowAttributes(hwnd, 0, 255, LWA_ALPHA);
    if (HRGN region = region_from_ops(shape.region)) SetWindowRgn(hwnd, region, FALSE);  // owned by the window now
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    SetTimer(hwnd, kNoticeTimer, kLayoutNoticeMs, nullptr);
    log("layout_notice: '" + applied.layout + "' on screen '" + applied.screen_id + "' " + rect_text(area));
}

}  // namespace tw::app
