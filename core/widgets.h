#pragma once
// The retained widget list of a drawn window: items, hit testing, the palette of both
// themes and the drawing of every kind over a Canvas.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/canvas.h"
#include "core/color.h"
#include "core/geometry.h"
#include "core/layout_model.h"

namespace tw {

// One entry of a window's item list. `rect` is in DIPs, right and bottom exclusive.
struct WidgetItem {
    std::string text;
    uint8_t kind = 0;        // 0..30
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
};

// The data behind the layout-preview kinds 21 to 23.
struct LayoutPreview {
    std::string name;
    std::string secondary;
    std::vector<Zone> zones;
    bool enabled = true;
};

// Process-wide theme values, written only on the UI thread and read at every paint.
struct ThemeState {
    bool light = false;
    uint32_t accent = kDefaultAccent;
};
ThemeState& theme_state();

// Draws one frame: background gradient over (0, 0, width, height), every item in list
// order, then the focus ring when `focus` indexes an item.
void paint_frame(Canvas& canvas, const std::vector<WidgetItem>& items,
                 std::optional<size_t> focus, const std::vector<LayoutPreview>& previews,
                 float width, float height);

}  // namespace tw
