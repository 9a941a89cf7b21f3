#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "core/ui/text_fit.h"
#include "core/ui/widget_paint_parts.h"

namespace tw {

using namespace paint_detail;

namespace {

// The zones themselves are cut to their screen: so are their pictures.
Zone on_screen(const Zone& z) {
    return {std::clamp(z.left, 0.0, 1.0), std::clamp(z.top, 0.0, 1.0), std::clamp(z.right, 0.0, 1.0),
            std::clamp(z.bottom, 0.0, 1.0)};
}

}  // namespace

std::optional<RectF> zone_in_preview(const Zone& zone, const RectF& thumb, float d) {
    const Zone z = on_screen(zone);
    const double w = width(thumb), h = height(thumb);
    const RectF r{static_cast<float>(thumb.left + z.left * w) + d,
                  static_cast<float>(thumb.top + z.top * h) + d,
                  static_cast<float>(thumb.left + z.right * w) - d,
                  static_cast<float>(thumb.top + z.bottom * h) - d};
    if (!(r.right > r.left) || !(r.bottom > r.top)) return std::nullopt;
    if (!std::isfinite(r.left) || !std::isfinite(r.right) || !std::isfinite(r.top) ||
        !std::isfinite(r.bottom)) {
        return std::nullopt;
    }
    return r;
}

namespace {

long long percent(double fraction_span) {
    const double v = std::round(fraction_span * 100.0);
    if (!(v == v)) return 0;
    return static_cast<long long>(std::clamp(v, -1e15, 1e15));
}

void paint_choice_card(Canvas& c, const WidgetItem& it, const Palette& pal,
                       const LayoutPreview& p, const RectF& r) {
    const float a = it.strong ? 1.0f : 0.45f;
    const bool pressed = it.enabled && it.pressed;
    if (it.enabled && (it.hovered || it.pressed)) {
        c.fill_rounded_rect(r, 6, solid(pal.text, pressed ? 0.1f : 0.06f));
    }
    const RectF thumb{r.left, r.top, r.right, r.top + std::min(46.0f, std::max(0.0f, height(r)))};
    c.fill_rounded_rect(thumb, 6, solid(pal.text, a * 0.05f));
    const ColorF accent = color_from_rgb(theme_state().accent);
    for (const Zone& z : p.zones) {
        const std::optional<RectF> zr = zone_in_preview(z, thumb, 0.5f);
        if (!zr) continue;
        c.fill_rounded_rect(*zr, 2, solid(pal.text, a * 0.1f));
        c.stroke_rounded_rect(*zr, 2, solid(accent, a * 0.55f), 1);
    }
    if (it.selected) {
        c.stroke_rounded_rect(thumb, 6, solid(accent, 0.95f), 2);
    } else {
        c.stroke_rounded_rect(thumb, 6, solid(pal.text, a * 0.3f), 1);
    }
    const float name_top = thumb.bottom + 2;
    draw_single_line(c, p.name, {r.left, name_top, r.right, name_top + 16}, TextFormat::Centred,
                     solid(pal.text, a * 0.95f));
    draw_single_line(c, p.secondary, {r.left, name_top + 15, r.right, name_top + 31},
                     TextFormat::Centred, solid(pal.text, a * 0.5f));
}

void paint_large_choice_card(Canvas& c, const WidgetItem& it, const Palette& pal,
                             const std::string& name, const RectF& r) {
    const float a = it.strong ? 1.0f : 0.45f;
    const bool pressed = it.enabled && it.pressed;
    const bool hot = it.enabled && (it.hovered || it.pressed);
    // The fill runs past the clipped bottom so that only its top corners are round:
    // a tab that joins the card below it.
    const RectF tab{r.left, r.top, r.right, r.bottom + 16};
    c.push_clip(r);
    if (it.selected) {
        c.fill_rounded_rect(tab, 8, solid(pal.card_surface, pal.card_surface_opacity));
        c.fill_rounded_rect({r.left + 9, r.top + 0.5f, r.right - 9, r.top + 3}, 1.5f,
                            solid(color_from_rgb(theme_state().accent), 0.95f));
    } else if (hot) {
        c.fill_rounded_rect(tab, 8, solid(pal.text, pressed ? 0.09f : 0.05f));
    }
    draw_single_line(c, name, r, TextFormat::Centred,
                     solid(pal.text, (it.selected ? 0.95f : 0.62f) * a));
    c.pop_clip();
}

void paint_sized_layout_card(Canvas& c, const Palette& pal, const LayoutPreview& p,
                             const RectF& r) {
    const float a = p.enabled ? 1.0f : 0.45f;
    const RectF thumb{r.left, r.top, r.right, std::max(r.top, r.bottom - 24)};
    c.fill_rounded_rect(thumb, 8, solid(pal.text, a * 0.05f));
    const ColorF accent = color_from_rgb(theme_state().accent);
    for (const Zone& z : p.zones) {
        const std::optional<RectF> zr = zone_in_preview(z, thumb, 1.0f);
        if (!zr) continue;
        c.fill_rounded_rect(*zr, 3, solid(pal.text, a * 0.1f));
        c.stroke_rounded_rect(*zr, 3, solid(accent, a * 0.55f), 1);
        if (width(*zr) >= 28) {
            draw_single_line(c, zone_size_label(on_screen(z)), *zr, TextFormat::Centred,
                             solid(pal.text, a * 0.6f));
        }
    }
    c.stroke_rounded_rect(thumb, 8, solid(accent, a * 0.95f), 2);
    draw_single_line(c, p.name, {r.left, thumb.bottom + 4, r.right, r.bottom}, TextFormat::Centred,
                     solid(pal.text, a * 0.55f));
}

}  // namespace

std::string zone_size_label(const Zone& z) {
    const long long w = percent(z.right - z.left);
    const long long h = percent(z.bottom - z.top);
    std::string out = std::to_string(w) + "%";
    if (h < 99) out += "\xC3\x97" + std::to_string(h) + "%";
    return out;
}

namespace paint_detail {

void paint_preview_item(Canvas& c, const WidgetItem& it, const Palette& pal,
                        std::span<const LayoutPreview> previews) {
    const RectF r = to_rectf(it.rect);
    const LayoutPreview* p = it.preview < previews.size() ? &previews[it.preview] : nullptr;
    switch (it.kind) {
    case 21:
        if (p) paint_choice_card(c, it, pal, *p, r);
        break;
    case 22:
        // The large card shows only a name, which the item carries itself (screen
        // tabs); it needs no preview and is drawn even without one.
        paint_large_choice_card(c, it, pal, !it.text.empty() || !p ? it.text : p->name, r);
        break;
    case 23:
        if (p) paint_sized_layout_card(c, pal, *p, r);
        break;
    default:
        break;
    }
}

}  // namespace paint_detail

void paint_frame(Canvas& canvas, const std::vector<WidgetItem>& items,
                 std::optional<size_t> focus, const std::vector<LayoutPreview>& previews,
                 float width_dips, float height_dips) {
    const Palette& pal = palette(theme_state().light);
    canvas.fill_rect({0, 0, width_dips, height_dips},
                     Brush::gradient({0, 0}, {width_dips, height_dips}, pal.background_from,
                                     pal.background_to, 1.0f));
    for (const WidgetItem& item : items) paint_item(canvas, item, previews);
    if (focus && *focus < items.size()) paint_focus_ring(canvas, items[*focus].rect);
}

void paint_focus_ring(Canvas& canvas, const Rect& r) {
    // A hairline of the background between item and ring keeps the ring apart from
    // items filled with the accent themselves.
    canvas.stroke_rounded_rect(inset(to_rectf(r), -1), 9, solid(palette(theme_state().light).background_to, 1.0f), 1.5f);
    canvas.stroke_rounded_rect(inset(to_rectf(r), -3), 11,
                               solid(color_from_rgb(theme_state().accent), 1.0f), 2);
}

}  // namespace tw
