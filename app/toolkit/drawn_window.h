#pragma once
// What every drawn window does with its renderer: the WM_PAINT and WM_SIZE handling,
// and the translation of mouse messages into hover, press and click on its widget list.
#include "app/toolkit/accessible_object.h"
#include "app/toolkit/ui_render.h"
#include "core/base/geometry.h"
#include "core/ui/keyboard_nav.h"
#include "core/ui/widgets.h"

#include <windows.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tw::app {

// A position that no item contains.
inline constexpr int32_t kNowhere = INT32_MIN;

class DrawnWindow {
public:
    // Brings the window's item list up to date for the logical size (may measure text).
    using Rebuild = std::function<void(Renderer&, LogicalSize)>;
    // Draws one frame; false when the target was lost (what Renderer::paint returns).
    using Draw = std::function<bool(Renderer&, LogicalSize)>;

    // WM_PAINT. Nothing is drawn, and no renderer made, while the client area is empty;
    // the renderer is created on first need and dropped when the frame reports a lost
    // target, in which case the window is invalidated again so that the next WM_PAINT
    // builds a new one. The window is always validated.
    void on_paint(HWND hwnd, const Rebuild& rebuild, const Draw& draw);
    // WM_SIZE: resizes the render target when both sides are non-zero.
    void on_size(LPARAM lparam);
    // Lost device, hidden window, new DPI: the next paint creates a fresh renderer.
    void drop_renderer() { renderer_.reset(); }

    Renderer* renderer() const { return renderer_.get(); }
    // How many renderers this window has created so far.
    uint64_t renderers_created() const { return created_; }

    // Test seam: every renderer this window creates from now on, and the current one,
    // passes its EndDraw result through `filter` (see Renderer::EndDrawFilter).
    void set_end_draw_filter(Renderer::EndDrawFilter filter);

    // Screen readers: how the window reads its widget list (the tree of its current
    // items and focus). Every paint then compares the tree with the last one and
    // announces the changes; WM_GETOBJECT answers with an accessible object over it.
    void set_accessible_tree(std::function<std::vector<AccessibleNode>()> nodes);
    std::optional<LRESULT> on_get_object(HWND hwnd, WPARAM wp, LPARAM lp);

private:
    void announce(HWND hwnd);

    std::unique_ptr<Renderer> renderer_;
    std::function<std::vector<AccessibleNode>()> nodes_;
    std::shared_ptr<AccessibleSource> accessible_;
    std::vector<AccessibleNode> announced_;
    uint64_t created_ = 0;
    bool first_frame_logged_ = false;
    Renderer::EndDrawFilter end_draw_filter_;
};

// kMsgAccessibleAction: the command of the item it names, when that item still carries
// it (a rebuild between the request and now may have moved or removed it).
std::optional<uint64_t> accessible_action_command(const std::vector<WidgetItem>& items, WPARAM wp,
                                                  LPARAM lp);

// The navigation meaning of a WM_KEYDOWN virtual key: Tab (Shift+Tab back), the
// arrows, Home, End, and Space or Enter to activate.
std::optional<NavKey> nav_key(WPARAM vk, bool shift);

// A mouse message position in DIPs: pixels divided by the window's scale, rounded.
Point mouse_position_dips(HWND hwnd, LPARAM lparam);

// Handles WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP and WM_CAPTURECHANGED for a widget
// list through a pointer tracker (move/press/release with DIP positions, pressed()):
// hover and pressed flags, mouse capture while pressed, repaint on every visible
// change. Returns the command number of a completed click (press and release on the
// same item); the caller runs it. Other messages are ignored.
template <typename Tracker>
std::optional<uint64_t> handle_widget_mouse(HWND hwnd, UINT message, LPARAM lparam,
                                            std::vector<WidgetItem>& items, Tracker& tracker) {
    const Point p = mouse_position_dips(hwnd, lparam);
    switch (message) {
    case WM_MOUSEMOVE:
        if (tracker.move(items, p.x, p.y)) InvalidateRect(hwnd, nullptr, FALSE);
        return std::nullopt;
    case WM_LBUTTONDOWN:
        if (tracker.press(items, p.x, p.y)) {
            SetCapture(hwnd);
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return std::nullopt;
    case WM_LBUTTONUP: {
        // Settle the click before releasing: ReleaseCapture sends WM_CAPTURECHANGED,
        // which would otherwise end the press first.
        const auto r = tracker.release(items, p.x, p.y);
        ReleaseCapture();
        if (r.repaint) InvalidateRect(hwnd, nullptr, FALSE);
        return r.command;
    }
    case WM_CAPTURECHANGED:
        // The capture was taken away mid-press (another window, a menu, Alt+Tab): the
        // press ends without a command, as if released over nothing.
        if (tracker.pressed()) {
            tracker.release(items, kNowhere, kNowhere);
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

}  // namespace tw::app
