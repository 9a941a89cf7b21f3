#pragma once
// The narrow seam between the placement engine and the window system. The engine
// decides; a Desktop answers questions and applies placements. The Win32
// implementation lives in app/; tests use FakeDesktop (tests/fake_desktop.h).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/base/geometry.h"

namespace tw {

// Opaque window handle; 0 is "no window". Printed in log lines as a signed decimal.
using WindowId = int64_t;

struct MonitorRects {
    Rect monitor;  // rcMonitor
    Rect work;     // rcWork
};

struct WindowPlacementInfo {
    Rect normal_position;  // rcNormalPosition as the system reports it
};

// SetWindowPos flags the engine uses, with their Win32 values.
enum SetPosFlags : uint32_t {
    kSwpNoSize = 0x0001,
    kSwpNoZOrder = 0x0004,
    kSwpNoActivate = 0x0010,
    kSwpNoOwnerZOrder = 0x0200,
    kSwpNoSendChanging = 0x0400,
};

// Extended window styles the eligibility rules look at.
enum ExStyle : uint64_t {
    kWsExDlgModalFrame = 0x1,
    kWsExTopmost = 0x8,
    kWsExToolWindow = 0x80,
};

// Window styles a snapshot carries, with their Win32 values.
enum Style : uint64_t {
    kWsMaximize = 0x01000000,
    kWsVisible = 0x10000000,
    kWsMinimize = 0x20000000,
};

// What the confiner compares from pass to pass to see whether a window may have
// changed: a window that kept its rectangle and its styles (visible, minimised,
// maximised, topmost, tool window, ...) gets the same answers from every other query
// the confiner makes about it.
struct WindowSnapshot {
    Rect rect;           // GetWindowRect
    uint64_t style = 0;  // GWL_STYLE
    uint64_t ex_style = 0;
    friend bool operator==(const WindowSnapshot&, const WindowSnapshot&) = default;
};

class Desktop {
public:
    virtual ~Desktop() = default;

    virtual WindowId foreground_window() = 0;
    virtual bool is_window(WindowId w) = 0;
    virtual bool is_visible(WindowId w) = 0;
    virtual bool is_zoomed(WindowId w) = 0;
    virtual bool is_iconic(WindowId w) = 0;
    // IsHungAppWindow: the window's thread has not answered for a while. Moving such a
    // window would block the caller until the application answers again.
    virtual bool is_hung(WindowId w) = 0;
    // DwmGetWindowAttribute(DWMWA_CLOAKED): the system hides the window although it
    // reports itself visible: it lives on another virtual desktop, or it is the frame of
    // a suspended app. The engine leaves such a window alone. False when the query fails.
    virtual bool is_cloaked(WindowId w) = 0;
    // GetClassNameW; empty on failure.
    virtual std::string class_name(WindowId w) = 0;
    virtual uint32_t process_id(WindowId w) = 0;
    virtual uint32_t current_process_id() = 0;
    virtual uint64_t ex_style(WindowId w) = 0;
    // The window has neither a sizing border nor a maximise button: its application
    // draws it for one size only, so it is moved into a zone but never stretched.
    // False when the window cannot be read.
    virtual bool is_fixed_size(WindowId w) = 0;

    virtual std::optional<Rect> window_rect(WindowId w) = 0;
    // Rectangle, style and extended style; none when the window is gone.
    virtual std::optional<WindowSnapshot> snapshot(WindowId w) = 0;
    // DWM extended frame bounds when available and non-empty, else `fallback`.
    virtual Rect visible_frame(WindowId w, const Rect& fallback) = 0;
    virtual std::optional<WindowPlacementInfo> window_placement(WindowId w) = 0;
    // MonitorFromWindow(MONITOR_DEFAULTTONULL) + GetMonitorInfoW; none when either fails.
    virtual std::optional<MonitorRects> monitor_of_window(WindowId w) = 0;

    virtual std::optional<Point> cursor_pos() = 0;
    virtual bool shift_down() = 0;
    // Either Ctrl key is held down right now.
    virtual bool ctrl_down() = 0;
    // The (logical) left mouse button is held down right now.
    virtual bool left_button_down() = 0;

    // The two calls below wait for the window's application when it belongs to another
    // process; meanwhile the calling thread handles messages sent to its windows, so
    // the caller's own state may have changed when they return.
    // ShowWindow(SW_RESTORE).
    virtual void restore(WindowId w) = 0;
    // SetWindowPos with no insert-after window; x, y, width, height as given.
    virtual bool set_window_pos(WindowId w, int32_t x, int32_t y, int32_t cx, int32_t cy,
                                uint32_t flags) = 0;
    // The windows whose set_window_pos failed with "access denied" since the last call,
    // in order: they belong to a program running with higher rights (as administrator).
    virtual std::vector<WindowId> take_refused_windows() { return {}; }

    // --- Applications and new windows (last zones, excluded applications) ---
    // The full path of the executable of the window's process
    // (QueryFullProcessImageNameW); empty when it cannot be read.
    virtual std::string process_path(WindowId) { return {}; }
    // Every top-level window, visible or not, in the system's order (EnumWindows): one
    // cheap question, so that new windows are seen by comparing two lists.
    virtual std::vector<WindowId> top_level_windows() { return {}; }
    // The owner window (GetWindow GW_OWNER); 0 for an unowned window.
    virtual WindowId owner_window(WindowId) { return 0; }
};

// A monotonic millisecond clock, so that the 10 ms, 40 ms, 50 ms, 80 ms and 3.5 s rules
// are tested without sleeping.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint64_t now_ms() = 0;
};

}  // namespace tw
