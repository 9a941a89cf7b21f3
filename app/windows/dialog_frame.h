#pragma once
// What the program's small drawn windows share: a borderless popup of its own class,
// owned by the main window, sized to a design size in DIPs at the monitor's DPI and
// placed in the main window's work area; a caption strip that drags the window; the
// widget list with hover, press and click; Escape and Enter. Each window derives from
// DialogFrame and belongs to its HWND: the object is deleted when the window is gone.
#include "app/toolkit/drawn_window.h"
#include "core/ui/canvas.h"
#include "core/ui/widgets.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace tw::app {

struct AppState;

class DialogFrame {
public:
    virtual ~DialogFrame() = default;
    DialogFrame(const DialogFrame&) = delete;
    DialogFrame& operator=(const DialogFrame&) = delete;

    enum class Placement : uint8_t {
        InWorkArea,  // centred in the work area of the owner's monitor
        OnOwner,     // centred on the owner, then fitted into its work area
    };
    struct Design {
        const wchar_t* class_name;
        std::string_view title;
        int32_t width;   // DIPs
        int32_t height;  // DIPs
        Placement placement = Placement::InWorkArea;
    };
    // Registers the class (once per class name), creates the window hidden, owned by
    // `owner`, and hands `dialog` to it. Null (with a log line) when the window cannot
    // be made; the dialog is then deleted.
    static HWND create(std::unique_ptr<DialogFrame> dialog, HINSTANCE instance, HWND owner,
                       const Design& design);

    enum class Modality : uint8_t {
        Modeless,
        Modal,  // the main window is disabled while it is open, enabled again when it closes
    };
    // Opens the one window of its kind, kept in `slot` (the AppState member that is
    // cleared again when the window is destroyed): an open one is brought to the front
    // and `dialog` is dropped. Otherwise the window is created owned by the main window,
    // opened(), shown and brought forward.
    static void open(AppState& state, HWND& slot, std::unique_ptr<DialogFrame> dialog,
                     const Design& design, Modality modality);

    HWND hwnd() const { return hwnd_; }

protected:
    explicit DialogFrame(AppState& app) : app_(app) {}

    // The widget list for the client size in DIPs.
    virtual std::vector<WidgetItem> build(int32_t width, int32_t height, TextMeasure* measure) = 0;
    // A click completed on an item. May close the window, as its last act.
    virtual void command(uint64_t id) = 0;
    // Enter: the dialog's primary action. Escape closes unless overridden.
    virtual void enter() {}
    virtual void escape() { close(); }
    // First look at every message; true when handled, with `result` to return.
    virtual bool message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Drawn over the widgets (text fields).
    virtual void draw_over(Canvas&) {}
    // WM_DPICHANGED; by default the window takes the suggested rectangle.
    virtual void dpi_changed(UINT dpi, const RECT& suggested);
    // The window exists and is about to be shown by open() (carets, timers).
    virtual void opened() {}
    // WM_DESTROY: the window's effects on the rest of the program end here. The slot
    // open() filled is already cleared; a modal dialog's main window is enabled and
    // brought forward after it.
    virtual void destroyed() {}

    // Rebuilds the widget list and repaints.
    void rebuild();
    // Destroys the window, and with it this object: nothing may follow it.
    void close() { DestroyWindow(hwnd_); }
    // The item at a position in DIPs, and the position of a mouse message.
    std::optional<size_t> item_at(Point p) const { return hit_test(widgets_, p.x, p.y); }
    Point mouse_dips(LPARAM lp) const { return mouse_position_dips(hwnd_, lp); }
    // The client area's width in DIPs.
    int32_t client_width_dips() const;
    Renderer* renderer() const { return drawn_.renderer(); }

    AppState& app_;
    std::vector<WidgetItem> widgets_;
    PointerTracker tracker_;
    // The keyboard focus (an index into widgets_, kept on its command across rebuilds)
    // and whether its ring shows: after a key, not after a mouse press.
    std::optional<size_t> focus_;
    std::optional<uint64_t> focused_command_;
    bool focus_visible_ = false;

private:
    // Tab, the arrows, Home, End, Space and Enter over the widget list; false when the
    // key means nothing there.
    bool navigate(WPARAM vk);
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void paint();

    HWND hwnd_ = nullptr;
    bool owned_ = false;     // the window deletes this object when it is gone
    HWND* slot_ = nullptr;   // the AppState member open() filled
    bool modal_ = false;     // open() disabled the main window
    bool measured_ = false;  // the widget list was laid out with the renderer's widths
    DrawnWindow drawn_;
};

}  // namespace tw::app
