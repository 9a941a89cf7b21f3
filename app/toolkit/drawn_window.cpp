#include "app/toolkit/drawn_window.h"

#include <windowsx.h>

#include <chrono>
#include <cmath>
#include <string>

#include "core/base/log.h"

namespace tw::app {

namespace {

// The first frame of each drawn window, with what its renderer's creation cost: the
// figures behind the start-up and opening times (tools/measure-open reads them).
void log_first_frame(HWND hwnd, const Renderer& r, std::chrono::steady_clock::time_point started) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    std::string cls;
    for (const wchar_t* c = name; *c; ++c) cls += static_cast<char>(*c < 128 ? *c : '?');
    const auto ms = [](double v) { return std::to_string(std::lround(v)); };
    const Renderer::CreationTimes& t = r.creation_times();
    const double total = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    log("ui_render: first frame of " + cls + " drawn in " + ms(total) + " ms (D2D1CreateFactory " +
        ms(t.d2d_factory) + ", DWriteCreateFactory " + ms(t.dwrite_factory) + ", render target " + ms(t.target) +
        ", text formats " + ms(t.text_formats) + ")");
}

}  // namespace

void DrawnWindow::on_paint(HWND hwnd, const Rebuild& rebuild, const Draw& draw) {
    RECT client{};
    GetClientRect(hwnd, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    bool lost = false;
    if (width > 0 && height > 0) {
        const LogicalSize size = logical_size(width, height, scale_for_window(hwnd));
        const auto started = std::chrono::steady_clock::now();
        const bool first = !first_frame_logged_ && !renderer_;
        if (!renderer_) {
            renderer_ = Renderer::create(hwnd, static_cast<UINT>(width), static_cast<UINT>(height));
            if (renderer_) {
                ++created_;
                if (end_draw_filter_) renderer_->set_end_draw_filter(end_draw_filter_);
            }
        }
        if (renderer_) {
            if (rebuild) rebuild(*renderer_, size);
            if (draw && !draw(*renderer_, size)) {
                renderer_.reset();
                lost = true;
            }
            if (first && renderer_) {
                log_first_frame(hwnd, *renderer_, started);
                first_frame_logged_ = true;
            }
        }
    }
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    // After EndPaint: BeginPaint validates the whole update region, so an invalidation
    // made before it would be swallowed and the new renderer never drawn.
    if (lost) InvalidateRect(hwnd, nullptr, FALSE);
    announce(hwnd);
}

void DrawnWindow::set_accessible_tree(std::function<std::vector<AccessibleNode>()> nodes) {
    nodes_ = std::move(nodes);
}

std::optional<LRESULT> DrawnWindow::on_get_object(HWND hwnd, WPARAM wp, LPARAM lp) {
    if (!nodes_) return std::nullopt;
    if (!accessible_ || accessible_->hwnd != hwnd) {
        // A new window (the main window's state outlives a destroyed one) gets a new
        // source; objects handed out for the old one report that they are disconnected.
        accessible_ = std::make_shared<AccessibleSource>();
        accessible_->hwnd = hwnd;
        accessible_->nodes = [this] { return nodes_(); };
    }
    return answer_get_object(accessible_, wp, lp);
}

void DrawnWindow::announce(HWND hwnd) {
    if (nodes_) announced_ = announce_changes(hwnd, announced_, nodes_());
}

std::optional<uint64_t> accessible_action_command(const std::vector<WidgetItem>& items, WPARAM wp,
                                                  LPARAM lp) {
    if (wp >= items.size() || items[wp].id != static_cast<uint64_t>(lp) || items[wp].enabled != 1)
        return std::nullopt;
    return items[wp].id;
}

void DrawnWindow::on_size(LPARAM lparam) {
    const UINT width = LOWORD(lparam);
    const UINT height = HIWORD(lparam);
    if (width != 0 && height != 0 && renderer_) renderer_->resize(width, height);
}

void DrawnWindow::set_end_draw_filter(Renderer::EndDrawFilter filter) {
    end_draw_filter_ = std::move(filter);
    if (renderer_) renderer_->set_end_draw_filter(end_draw_filter_);
}

Point mouse_position_dips(HWND hwnd, LPARAM lparam) {
    const double scale = scale_for_window(hwnd);
    return {static_cast<int32_t>(std::lround(GET_X_LPARAM(lparam) / scale)),
            static_cast<int32_t>(std::lround(GET_Y_LPARAM(lparam) / scale))};
}

std::optional<NavKey> nav_key(WPARAM vk, bool shift) {
    switch (vk) {
    case VK_TAB: return shift ? NavKey::BackTab : NavKey::Tab;
    case VK_LEFT: return NavKey::Left;
    case VK_RIGHT: return NavKey::Right;
    case VK_UP: return NavKey::Up;
    case VK_DOWN: return NavKey::Down;
    case VK_HOME: return NavKey::Home;
    case VK_END: return NavKey::End;
    case VK_RETURN:
    case VK_SPACE: return NavKey::Activate;
    default: return std::nullopt;
    }
}

}  // namespace tw::app
