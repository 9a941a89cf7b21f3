#pragma once
// The main window's drawn content on the Win32 side: gathers the state the view shows,
// paints it, turns mouse, wheel and key messages into commands and carries them out.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/toolkit/drawn_window.h"
#include "app/toolkit/tooltip.h"
#include "core/views/main_view.h"
#include "core/ui/widgets.h"

namespace tw::app {

struct AppState;

class MainViewWindow {
public:
    // Rebuilds the widget list for the current state and client size, and repaints.
    void rebuild(AppState& state);
    void paint(AppState& state, HWND hwnd);
    void size(AppState& state, LPARAM lparam);
    void drop_renderer() { drawn_.drop_renderer(); }

    // True when the point (client pixels) is a caption: no clickable widget, y < 40 DIPs.
    bool is_caption(HWND hwnd, POINT client) const;
    // Mouse, wheel and keyboard; true when the message was handled.
    bool mouse(AppState& state, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool key(AppState& state, HWND hwnd, WPARAM vk);
    // Carries out command `id` as a click on the widget with that id would (also used
    // by the tray menu for the actions both offer).
    void command(AppState& state, uint64_t id);
    // Picks layout `layout` of screen `screen` (indexes into the attached screens and that
    // screen's layouts) as the user does here: that screen's tab, then the layout's row.
    // Returns false when either is gone.
    bool choose_layout(AppState& state, size_t screen, size_t layout);
    // Why something just did not happen, shown in the status line until the next
    // command or change of the engine's state (empty: the status again).
    void set_status_note(std::string note) { status_note_ = std::move(note); }
    const std::string& status_note() const { return status_note_; }
    // WM_GETOBJECT and the default action a screen reader asked for (as a click).
    std::optional<LRESULT> get_object(HWND hwnd, WPARAM wp, LPARAM lp);
    void accessible_action(AppState& state, HWND hwnd, WPARAM wp, LPARAM lp);

private:
    // What the view shows, gathered from the state and this window.
    MainViewInput input(AppState& state);
    void run_command(AppState& state, HWND hwnd, uint64_t id);
    void carry_out(AppState& state, HWND hwnd, const MainCommand& cmd);
    void scroll_to_focus(AppState& state, HWND hwnd);

    DrawnWindow drawn_;
    std::vector<WidgetItem> widgets_;
    std::vector<LayoutPreview> previews_;
    PointerTracker tracker_;
    Tooltip tooltip_;
    std::optional<size_t> focus_;
    std::optional<uint64_t> list_owner_;  // the dropdown whose list the keyboard opened
    bool focus_visible_ = false;
    bool layout_menu_open_ = false;
    bool language_menu_open_ = false;
    size_t layout_first_ = 0;  // first layout in view in the open layout list
    int32_t scroll_ = 0;
    std::string status_note_;
};

MainViewWindow& main_view_window();

}  // namespace tw::app
