#pragma once
// The retained widget list of a drawn window: items, hit testing, the palette of both
// themes and the drawing of every kind over a Canvas.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/ui/canvas.h"
#include "core/base/color.h"
#include "core/base/geometry.h"
#include "core/model/layout_model.h"

namespace tw {

// One entry of a window's item list. `rect` is in DIPs, right and bottom exclusive.
struct WidgetItem {
    std::string text;
    uint8_t kind = 0;        // 0..31
    uint8_t selected = 0;    // kinds 21, 22, 26, 29
    uint8_t strong = 0;      // kinds 21, 22: full strength when set, reduced otherwise
    uint32_t color = 0;      // kinds 26, 27, 28: 0xRRGGBB
    uint64_t preview = 0;    // kinds 21..23: index into the window's layout previews
    uint64_t id = 0;         // command number
    Rect rect;
    uint8_t on = 0;
    uint8_t enabled = 1;
    uint8_t hovered = 0;
    uint8_t pressed = 0;
    // What a screen reader is told where the kind alone does not say it: a role
    // (AccessibleRole, 0 = from the kind) and a name for items without readable text.
    uint8_t role = 0;
    std::string label;
};

// The data behind the layout-preview kinds 21 to 23.
struct LayoutPreview {
    std::string name;
    std::string secondary;
    std::vector<Zone> zones;
    bool enabled = true;
};

// A zone's fractions cut to the screen (0..1), mapped into a preview `box` and inset
// by `inset`; nothing for a zone that is empty after that or holds values that are not
// numbers (hand-edited files).
std::optional<RectF> zone_in_preview(const Zone& zone, const RectF& box, float inset);

// The system colours that Windows' high-contrast mode sets (each 0xRRGGBB).
struct SystemColors {
    uint32_t window = 0;
    uint32_t window_text = 0xFFFFFF;
    uint32_t highlight = 0x1AEBFF;
    uint32_t highlight_text = 0;
    uint32_t button_face = 0;
    uint32_t button_text = 0xFFFFFF;
    uint32_t gray_text = 0x3FF23F;
    uint32_t hot_track = 0xFFFF00;
    friend bool operator==(const SystemColors&, const SystemColors&) = default;
};

// Process-wide theme values, written only on the UI thread and read at every paint.
// While high contrast is on, every palette role and the accent come from its colours.
struct ThemeState {
    bool light = false;
    uint32_t accent = kDefaultAccent;
    std::optional<SystemColors> high_contrast;
};
ThemeState& theme_state();

enum class Theme : uint8_t;  // the Theme setting, core/settings.h
// The light flag for a Theme setting. Auto follows the system's app theme: light when
// the "AppsUseLightTheme" value could be read and is non-zero, dark otherwise.
bool resolve_light_theme(Theme setting, std::optional<uint32_t> apps_use_light_theme);

// The colour roles of one theme. Opacities that belong to a role are kept with it.
struct Palette {
    ColorF text;
    ColorF background_from;  // window background gradient, top-left
    ColorF background_to;    // ... to bottom-right
    ColorF card_surface;
    float card_surface_opacity = 1;
    ColorF dropdown_panel;
    // An open list's edge: a hairline and a soft shadow, so that the panel stands out
    // from the card below it even where both are white.
    ColorF dropdown_panel_edge;
    float dropdown_panel_edge_opacity = 1;
    float dropdown_shadow_opacity = 0;  // each of three black layers
    ColorF danger;           // error text, delete glyph
    ColorF danger_from, danger_to;
    ColorF success_from, success_to;
    ColorF close_hover;      // window close glyphs
    // The theme switch's track (kind 30): a quiet pill in a shade of the text colour,
    // so it reads as a groove on both backgrounds without competing with the accent.
    ColorF segment_track;
    float segment_track_opacity = 1;
    float segment_track_outline_opacity = 1;
    // Text over accent, success and danger fills; the text colour when unset (high
    // contrast sets the system's highlight-text colour).
    std::optional<ColorF> on_accent = std::nullopt;
};
const Palette& palette(bool light);
// The palette of high contrast: window and text colours for every surface and text,
// the highlight for what the accent marks, no translucent shadows.
Palette high_contrast_palette(const SystemColors& colors);

// The accent gradient over `r`: accent to accent x 0.72, top-left to bottom-right.
Brush accent_gradient(const RectF& r, float opacity);

// Appends an item with the default flags (enabled, not on, hovered or pressed) and
// returns it so that the caller can fill in the kind's payload.
WidgetItem& push_item(std::vector<WidgetItem>& items, uint64_t id, uint8_t kind, Rect rect,
                      std::string_view text = {});

// Kinds 7-14, 16-18, 20-22, 25-27 and 29 take clicks.
bool is_clickable_kind(uint8_t kind);
// The topmost (last) enabled clickable item containing (x, y); right and bottom
// edges are exclusive.
std::optional<size_t> hit_test(const std::vector<WidgetItem>& items, int32_t x, int32_t y);

RectF to_rectf(const Rect& r);

// Draws one item with the current theme. Layout-preview kinds (21, 23) draw nothing
// when `item.preview` does not index `previews`.
void paint_item(Canvas& canvas, const WidgetItem& item,
                std::span<const LayoutPreview> previews = {});

// The "w%xh%" text of a zone in a kind 23 card ("w%" for a zone of (nearly) full
// height).
std::string zone_size_label(const Zone& z);

// Mouse handling shared by every drawn window. The window translates its messages
// (positions already in DIPs) and acts on the results: repaint, capture, execute.
class PointerTracker {
public:
    // WM_MOUSEMOVE: true when the hovered item changed and the window must repaint.
    bool move(std::vector<WidgetItem>& items, int32_t x, int32_t y);
    // The pointer left the window: true when a hovered flag was cleared.
    bool leave(std::vector<WidgetItem>& items);
    // WM_LBUTTONDOWN: the item to press; the window captures the mouse when set.
    std::optional<size_t> press(std::vector<WidgetItem>& items, int32_t x, int32_t y);
    struct Release {
        bool repaint = false;              // a pressed look was cleared
        std::optional<uint64_t> command;   // released over the pressed item
    };
    // WM_LBUTTONUP: the window releases the capture, then executes `command`.
    Release release(std::vector<WidgetItem>& items, int32_t x, int32_t y);
    // After a rebuild, puts the hovered and pressed flags back on the stored indices.
    void reapply(std::vector<WidgetItem>& items) const;
    // Forgets everything, e.g. when the window hides.
    void reset() { hovered_.reset(); pressed_.reset(); }

    std::optional<size_t> hovered() const { return hovered_; }
    std::optional<size_t> pressed() const { return pressed_; }

private:
    std::optional<size_t> hovered_;
    std::optional<size_t> pressed_;
};

// The keyboard focus ring: 2 DIPs of the accent colour just outside the item, which
// stands out on both themes' backgrounds and on the items' own fills.
void paint_focus_ring(Canvas& canvas, const Rect& r);

// Draws one frame: background gradient over (0, 0, width, height), every item in list
// order, then the focus ring when `focus` indexes an item.
void paint_frame(Canvas& canvas, const std::vector<WidgetItem>& items,
                 std::optional<size_t> focus, const std::vector<LayoutPreview>& previews,
                 float width, float height);

}  // namespace tw
