// Drawing the editor: the kinds it draws itself (text fields, the canvas, the manage
// rows) in list order among the toolkit's widgets, and the manage list's scroll thumb.
#include <algorithm>
#include <cmath>
#include <optional>

#include "core/engine/zone_spacing.h"
#include "core/model/catalog.h"
#include "core/ui/text_fit.h"
#include "core/views/editor_view.h"

namespace tw {

namespace {

Brush text_brush(float opacity) { return Brush::solid(palette(theme_state().light).text, opacity); }
Brush accent_brush(float opacity) { return Brush::solid(color_from_rgb(theme_state().accent), opacity); }

// `text_right`: where the name and zone count stop (before the hovered row's buttons).
void paint_row(Canvas& c, const EditorState& st, const WidgetItem& it, float text_right) {
    const RectF r = to_rectf(it.rect);
    const float h = r.bottom - r.top;
    if (it.on) {
        c.fill_rounded_rect(r, 8, accent_gradient(r, 0.3f));
    } else if (it.hovered || it.pressed) {
        c.fill_rounded_rect(r, 8, text_brush(it.pressed ? 0.1f : 0.06f));
    }
    if (it.preview >= st.layouts.size()) return;
    const Layout& layout = st.layouts[it.preview];
    const RectF thumb{r.left + 8, r.top + 8, r.left + 92, r.bottom - 8};
    c.fill_rounded_rect(thumb, 3, text_brush(0.04f));
    for (const Zone& z : layout.zones) {
        if (const std::optional<RectF> zr = zone_in_preview(z, thumb, 0.5f)) {
            c.fill_rounded_rect(*zr, 2, text_brush(0.1f));
            c.stroke_rounded_rect(*zr, 2, accent_brush(0.55f), 1);
        }
    }
    const float right = std::min(r.right - 8, text_right);
    // One line each: a long name ends in "…" instead of wrapping into the count.
    draw_single_line(c, layout.name, {r.left + 104, r.top + 8, right, r.top + 0.55f * h}, TextFormat::Label,
                     text_brush(0.95f));
    draw_single_line(c, tr_plural("manage.zone_count", layout.zones.size()),
                     {r.left + 104, r.top + 0.5f * h, right, r.bottom - 8}, TextFormat::Label, text_brush(0.5f));
}

void paint_canvas(Canvas& c, const EditorState& st, const WidgetItem& it) {
    const RectF frame = to_rectf(it.rect);
    c.fill_rounded_rect(frame, 6, text_brush(0.04f));
    c.stroke_rounded_rect(frame, 6, text_brush(0.12f), 1);
    // The zones as the screen will have them, gaps included; the border the pointer is
    // on is the grid line, drawn in the middle of its gap.
    const std::vector<Rect> grid_zones = canvas_zone_rects(st.grid, it.rect);
    const std::vector<Rect> zones = spaced_zones(grid_zones, it.rect, canvas_gap(st, it.rect));
    const CanvasHover& hover = st.canvas_hover;
    for (size_t i = 0; i < zones.size(); ++i) {
        const RectF z = to_rectf(zones[i]);
        const bool hot = hover.kind == CanvasHover::Kind::Zone && hover.a == i;
        c.fill_rounded_rect(z, 4, hot ? accent_gradient(z, 0.55f) : text_brush(0.07f));
        c.stroke_rounded_rect(z, 4, text_brush(0.22f), 1);
        c.draw_text(std::to_string(i + 1), z, TextFormat::Centred, text_brush(0.9f), false);
    }
    if (hover.kind != CanvasHover::Kind::Border || hover.a >= zones.size() || hover.b >= zones.size()) return;
    const Rect& a = grid_zones[hover.a];
    const Rect& b = grid_zones[hover.b];
    const float top = static_cast<float>(std::max(a.top, b.top));
    const float bottom = static_cast<float>(std::min(a.bottom, b.bottom));
    const float left = static_cast<float>(std::max(a.left, b.left));
    const float right = static_cast<float>(std::min(a.right, b.right));
    RectF bar;
    if (std::abs(b.left - a.right) < 7 || std::abs(a.left - b.right) < 7) {
        const float x = (left + right) / 2;  // the facing edges, whichever way round
        bar = {x - 1.5f, top, x + 1.5f, bottom};
    } else {
        const float y = (top + bottom) / 2;
        bar = {left, y - 1.5f, right, y + 1.5f};
    }
    c.fill_rect(bar, accent_brush(1.0f));
}

void paint_list_thumb(Canvas& c, const EditorState& st) {
    const size_t n = st.layouts.size();
    if (st.page != EditorPage::Manage || n <= editor_id::kVisibleRows) return;
    const float top = 60, track = 56.0f * editor_id::kVisibleRows - 8;
    const size_t first = std::min(st.first_row, n - editor_id::kVisibleRows);
    const float length = track * editor_id::kVisibleRows / static_cast<float>(n);
    const float offset = track * static_cast<float>(first) / static_cast<float>(n);
    c.fill_rounded_rect({459, top + offset, 462, top + offset + length}, 1.5f, text_brush(0.3f));
}

}  // namespace

void paint_editor(Canvas& c, const EditorState& st, const std::vector<WidgetItem>& items, bool caret_visible,
                  float width, float height) {
    static const std::vector<WidgetItem> kNoItems;
    static const std::vector<LayoutPreview> kNoPreviews;
    paint_frame(c, kNoItems, std::nullopt, kNoPreviews, width, height);
    // A footer pinned to the bottom edge (the message line, Save, Cancel: the last three
    // items) covers the scrolled part, which is cut off above it.
    const size_t footer = st.page == EditorPage::Edit && items.size() >= 3 ? items.size() - 3 : items.size();
    const bool clipped = footer < items.size() && items[footer].kind == 6;
    if (clipped) c.push_clip({0, 0, width, static_cast<float>(items[footer].rect.top - 8)});
    for (size_t index = 0; index < items.size(); ++index) {
        const WidgetItem& it = items[index];
        if (clipped && index == footer) c.pop_clip();
        switch (it.kind) {
        case 18: {
            const EditorFocus target = field_of_item(it.id);
            if (const TextField* field = text_field(st, target)) {
                const bool focused = target == st.focus;
                field->draw(c, to_rectf(it.rect), focused, focused && caret_visible);
            }
            break;
        }
        case 19: paint_canvas(c, st, it); break;
        case 20: {
            float text_right = static_cast<float>(it.rect.right);
            for (const WidgetItem& button : items)
                if (button.id == it.id - editor_id::kRow + editor_id::kEditRow)
                    text_right = static_cast<float>(button.rect.left - 8);
            paint_row(c, st, it, text_right);
            break;
        }
        default: paint_item(c, it); break;
        }
    }
    paint_list_thumb(c, st);
}

}  // namespace tw
