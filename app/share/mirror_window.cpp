#include "app/share/mirror_window.h"

#include <dwmapi.h>
#include <propsys.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>

#include "app/engine/engine_shell_win.h"
#include "app/engine/win32_desktop.h"
#include "app/platform/com_ptr.h"
#include "app/platform/icons_win.h"
#include "app/platform/wide_text.h"
#include "app/share/capture_sources.h"
#include "app/share/mirror_image.h"
#include "app/share/zone_share.h"
#include "core/base/files.h"
#include "core/base/log.h"
#include "core/base/panic.h"
#include "core/base/sys/sys.h"
#include "core/engine/capture_loop.h"
#include "core/engine/overlay_geometry.h"
#include "core/engine/share_geometry.h"
#include "core/engine/share_state.h"
#include "core/ui/share_icon.h"
#include "core/ui/widgets.h"

namespace tw::app {

namespace {

constexpr wchar_t kMirrorClass[] = L"TilewrightMirror";
constexpr wchar_t kFrameClass[] = L"TilewrightShareFrame";
constexpr DWORD kMirrorExStyle = WS_EX_LAYERED | WS_EX_APPWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST;
constexpr DWORD kFrameExStyle = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST;
constexpr DWORD kExcludeFromCapture = 0x11;  // WDA_EXCLUDEFROMCAPTURE, Windows 10 2004 and later
// PKEY_AppUserModel_ID, spelt out so that no property-key library is needed.
constexpr PROPERTYKEY kAppUserModelId{{0x9F4C2855, 0x9F79, 0x4B39, {0xA8, 0xD0, 0xE1, 0xD4, 0x2D, 0xE1, 0xD5, 0xF3}}, 5};

// What the UI thread and the capture thread of one share have in common.
struct ShareShared {
    explicit ShareShared(const Rect& z) : zone(z), image(std::max(z.width(), 0), std::max(z.height(), 0)) {}
    Rect zone;
    StopSignal stop;
    std::atomic<bool> panicked{false};
    MirrorImage image;
};

struct ShareRecord {
    HWND mirror = nullptr;
    std::shared_ptr<ShareShared> shared;
    HANDLE thread = nullptr;
    HWND frame = nullptr;
    HICON big = nullptr;
    HICON small = nullptr;
    bool quit_when_closed = false;
};

// The active share list: held only while a record is added, removed or looked up.
std::mutex g_shares_mutex;
std::vector<ShareRecord> g_shares;

// The frame class's background brush in the current accent (UI thread only).
HBRUSH g_frame_brush = nullptr;
uint32_t g_frame_rgb = 0;

// The registered snapshot message; 0 unless the test switch is on.
UINT g_snapshot_message = 0;

struct CaptureJob {
    std::shared_ptr<ShareShared> shared;
    HWND mirror;
};

void name_thread(const wchar_t* name) {
    // Windows 10 1607 and later; looked up so that older systems simply skip it.
    using Fn = HRESULT(WINAPI*)(HANDLE, PCWSTR);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetThreadDescription")));
    if (fn) fn(GetCurrentThread(), name);
}

DWORD WINAPI capture_main(void* param) {
    std::unique_ptr<CaptureJob> job(static_cast<CaptureJob*>(param));
    name_thread(L"zone-share-capture");
    ShareShared& s = *job->shared;
    const bool ok = run_guarded([&] {
        Win32CaptureFactory factory(s.zone, job->mirror, s.image);
        Win32Clock clock;
        StopSignalWaiter waiter(s.stop);
        const bool empty = s.zone.width() <= 0 || s.zone.height() <= 0;
        if (run_capture({factory, clock, waiter, s.stop, empty}) == CaptureEnd::Stopped)
            log("zone_share: capture thread for " + rect_text(s.zone) + " stopped");
    });
    if (!ok) s.panicked = true;
    return 0;
}

// Waits for a capture thread. Messages sent to this thread's windows (by DXGI, say,
// while it releases a swap chain) are delivered meanwhile, so the two cannot deadlock.
void join(HANDLE thread) {
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

MirrorImage* image_of(HWND hwnd) { return reinterpret_cast<MirrorImage*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

void end_share(HWND mirror) {
    SetWindowLongPtrW(mirror, GWLP_USERDATA, 0);
    ShareRecord rec;
    {
        std::lock_guard lock(g_shares_mutex);
        auto it = std::find_if(g_shares.begin(), g_shares.end(), [&](const ShareRecord& r) { return r.mirror == mirror; });
        if (it == g_shares.end()) return;
        rec = std::move(*it);
        g_shares.erase(it);
    }
    rec.shared->stop.request();
    join(rec.thread);
    CloseHandle(rec.thread);
    if (rec.shared->panicked) log("zone_share: capture thread panicked");
    if (rec.frame) DestroyWindow(rec.frame);
    if (rec.big) DestroyIcon(rec.big);
    if (rec.small) DestroyIcon(rec.small);
    log("zone_share: share of " + rect_text(rec.shared->zone) + " ended");
    if (rec.quit_when_closed) PostQuitMessage(0);
    after_share_closed();
}

bool write_snapshot(HWND mirror) {
    MirrorImage* image = image_of(mirror);
    const auto folder = sys::temp_dir();
    const std::string ppm = image ? image->ppm() : std::string();
    return folder && !ppm.empty() && write_atomically(*folder / "tilewright-mirror.ppm", ppm);
}

LRESULT CALLBACK mirror_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (g_snapshot_message && msg == g_snapshot_message) return write_snapshot(hwnd) ? 1 : 0;
    switch (msg) {
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_MINIMIZE) return 0;  // a mirror cannot be minimised
        break;
    case WM_ERASEBKGND:
        if (MirrorImage* image = image_of(hwnd); image && image->has_image()) return 1;
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (MirrorImage* image = image_of(hwnd)) image->paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        if (MirrorImage* image = image_of(hwnd); image && image->paint(reinterpret_cast<HDC>(wp))) return 0;
        break;
    case WM_DESTROY:
        end_share(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool register_class(const wchar_t* name, WNDPROC proc, HBRUSH background) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &existing)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
}

HBRUSH frame_brush() {
    const uint32_t rgb = theme_state().accent & 0xFFFFFF;
    if (!g_frame_brush || g_frame_rgb != rgb) {
        HBRUSH fresh = CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
        if (!fresh) return g_frame_brush;
        // Frames still showing the old brush take the new one before it goes.
        for (HWND mirror : active_mirrors())
            if (HWND frame = share_frame(mirror)) {
                SetClassLongPtrW(frame, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(fresh));
                break;
            }
        if (g_frame_brush) DeleteObject(g_frame_brush);
        g_frame_brush = fresh;
        g_frame_rgb = rgb;
    }
    return g_frame_brush;
}

// On Windows 10 and 11 the desktop is always composed and a layered window at alpha 0
// is invisible. Without composition (Wine without a compositing manager) the alpha is
// not honoured: the mirror would hide the zone and read itself back. There it gets an
// empty window region, so that it covers no pixel yet stays a window with the image.
void keep_mirror_out_of_sight(HWND mirror) {
    BOOL composed = FALSE;
    if (SUCCEEDED(DwmIsCompositionEnabled(&composed)) && composed) return;
    HRGN none = CreateRectRgn(0, 0, 0, 0);
    if (none && SetWindowRgn(mirror, none, FALSE)) {
        log("zone_share: desktop composition is off; the mirror window covers no pixels of the zone");
    } else if (none) {
        DeleteObject(none);
    }
}

void write_app_id(HWND mirror, const std::string& title) {
    ComPtr<IPropertyStore> store;
    HRESULT hr = SHGetPropertyStoreForWindow(mirror, IID_IPropertyStore, reinterpret_cast<void**>(store.put()));
    if (FAILED(hr) || !store) return log("zone_share: SHGetPropertyStoreForWindow failed " + hr_text(hr));
    std::wstring id = utf8_to_wide(share_app_id(title));
    PROPVARIANT value{};
    value.vt = VT_LPWSTR;
    value.pwszVal = id.data();
    hr = store->SetValue(kAppUserModelId, value);
    if (FAILED(hr)) return log("zone_share: IPropertyStore::SetValue(AUMID) failed " + hr_text(hr));
    hr = store->Commit();
    if (FAILED(hr)) log("zone_share: IPropertyStore::Commit(AUMID) failed " + hr_text(hr));
}

void set_app_id(HWND mirror, const std::string& title) {
    // The shell's property store wants COM on this thread; nothing else of the program
    // needs it, so it is only held meanwhile.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    write_app_id(mirror, title);
    if (SUCCEEDED(com)) CoUninitialize();
}

HICON share_icon(int size) {
    HICON icon = icon_from_pixels(size, share_icon_pixels(size, theme_state().accent));
    if (!icon) log("zone_share: share_icon CreateDIBSection failed");
    return icon;
}

HWND create_frame(const Rect& zone, const Rect& r) {
    HBRUSH brush = frame_brush();
    register_class(kFrameClass, DefWindowProcW, brush);
    HWND frame = CreateWindowExW(kFrameExStyle, kFrameClass, L"", WS_POPUP, r.left, r.top, r.width(), r.height(),
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!frame) {
        log("zone_share: frame overlay creation failed");
        return nullptr;
    }
    // The class brush follows the accent: it may have been registered in another colour.
    SetClassLongPtrW(frame, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush));
    HRGN region = region_from_ops(dashed_frame_region(r.width(), r.height(), zone, {}));
    if (!region || !SetWindowRgn(frame, region, TRUE)) {
        log("zone_share: SetWindowRgn failed for frame overlay");
        if (region) DeleteObject(region);
        DestroyWindow(frame);
        return nullptr;
    }
    if (!SetWindowDisplayAffinity(frame, kExcludeFromCapture))
        log("zone_share: WDA_EXCLUDEFROMCAPTURE not supported \xE2\x80\x94 frame will be visible in the shared feed");
    ShowWindow(frame, SW_SHOWNOACTIVATE);
    return frame;
}

}  // namespace

HWND create_mirror_window(const Rect& zone, const std::string& title, MirrorOptions options) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    register_class(kMirrorClass, mirror_proc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    const Rect r = share_window_rect(zone);
    HWND mirror = CreateWindowExW(kMirrorExStyle, kMirrorClass, utf8_to_wide(title).c_str(), WS_POPUP, r.left, r.top,
                                  r.width(), r.height(), nullptr, nullptr, instance, nullptr);
    if (!mirror) {
        log("zone_share: mirror window creation failed " +
            hr_text(static_cast<int32_t>(HRESULT_FROM_WIN32(GetLastError()))));
        return nullptr;
    }
    // Invisible to the user and to the mouse; a normal application window to pickers.
    SetLayeredWindowAttributes(mirror, 0, 0, LWA_ALPHA);
    keep_mirror_out_of_sight(mirror);
    set_app_id(mirror, title);

    ShareRecord rec;
    rec.mirror = mirror;
    rec.quit_when_closed = options.quit_when_closed;
    rec.big = share_icon(32);
    rec.small = share_icon(16);
    if (rec.big) SendMessageW(mirror, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(rec.big));
    if (rec.small) SendMessageW(mirror, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(rec.small));

    rec.shared = std::make_shared<ShareShared>(zone);
    SetWindowLongPtrW(mirror, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&rec.shared->image));
    auto* job = new CaptureJob{rec.shared, mirror};
    rec.thread = CreateThread(nullptr, 0, capture_main, job, 0, nullptr);
    if (!rec.thread) {
        delete job;
        panic(__FILE__, __LINE__, "failed to spawn zone-share capture thread");
    }

    rec.frame = create_frame(zone, r);
    {
        std::lock_guard lock(g_shares_mutex);
        g_shares.push_back(std::move(rec));
    }
    ShowWindow(mirror, SW_SHOWNOACTIVATE);
    log("zone_share: mirror window " + std::to_string(to_window_id(mirror)) + " '" + title + "' over " +
        rect_text(zone));
    return mirror;
}

bool is_active_share(HWND mirror) {
    std::lock_guard lock(g_shares_mutex);
    return std::any_of(g_shares.begin(), g_shares.end(), [&](const ShareRecord& r) { return r.mirror == mirror; });
}

HWND share_frame(HWND mirror) {
    std::lock_guard lock(g_shares_mutex);
    for (const ShareRecord& r : g_shares)
        if (r.mirror == mirror) return r.frame;
    return nullptr;
}

void request_capture_stop(const std::vector<HWND>& mirrors) {
    std::lock_guard lock(g_shares_mutex);
    for (const ShareRecord& rec : g_shares)
        if (std::find(mirrors.begin(), mirrors.end(), rec.mirror) != mirrors.end()) rec.shared->stop.request();
}

std::vector<HWND> active_mirrors() {
    std::lock_guard lock(g_shares_mutex);
    std::vector<HWND> out;
    for (const ShareRecord& r : g_shares) out.push_back(r.mirror);
    return out;
}

void enable_mirror_snapshots() { g_snapshot_message = RegisterWindowMessageW(L"TilewrightMirrorSnapshot"); }

void share_frames_follow_accent() {
    if (!g_frame_brush) return;  // no frame has been made yet: the first one takes the accent
    frame_brush();
    for (HWND mirror : active_mirrors())
        if (HWND frame = share_frame(mirror)) InvalidateRect(frame, nullptr, TRUE);
}

}  // namespace tw::app
