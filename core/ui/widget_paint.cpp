#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/base/color.h"
#include "core/ui/text_fit.h"
#include "core/ui/widget_paint_parts.h"

namespace tw {

using namespace paint_detail;

namespace {

bool is_red_close_command(uint64_t id) { return id == 114 || id == 306 || id == 517 || id == 724; }

void paint_toggle_row(Canvas& c, const WidgetItem& it, const Palette& pal, const RectF& r,
                      bool hot, bool pressed) {
    const float f = it.enabled ? 1.0f : 0.4f;
    if (hot) c.fill_rounded_rect(r, 6, solid(pal.text, pressed ? 0.08f : 0.05f));
    const float top = r.top + (height(r) - 20) / 2;
    const RectF track{r.right - 40, top, r.right, top + 20};
    c.fill_rounded_rect(track, 10, it.on ? accent_gradient(track, f) : solid(pal.text, f * 0.16f));
    const float knob_left = it.on ? track.right - 17 : track.left + 3;
    c.fill_rounded_rect({knob_left, top + 3, knob_left + 14, top + 17}, 7,
                        solid(color_from_rgb(0xFFFFFF), f));
    draw_single_line(c, it.text, {r.left, r.top, r.right - 48, r.bottom}, TextFormat::Label,
                     solid(pal.text, f * 0.9f));
}

void paint_filled_button(Canvas& c, const WidgetItem& it, const Palette& pal, const RectF& r,
                         bool hot, bool pressed) {
    if (!it.enabled) {
        c.fill_rounded_rect(r, 8, solid(pal.text, 0.1f));
        draw_single_line(c, it.text, r, TextFormat::Centred, solid(pal.text, 0.4f));
        return;
    }
    const PointF from{r.left, r.top}, to{r.right, r.bottom};
    Brush fill = accent_gradient(r, 1.0f);
    if (it.kind == 12) {
        fill = Brush::gradient(from, to, pal.success_from, pal.success_to, 1.0f);
    } else if (it.on) {
        fill = Brush::gradient(from, to, pal.danger_from, pal.danger_to, 1.0f);
    }
    c.fill_rounded_rect(r, 8, fill);
    if (hot) c.fill_rounded_rect(r, 8, solid(pal.text, pressed ? 0.18f : 0.1f));
    draw_single_line(c, it.text, r, TextFormat::Centred, solid(pal.on_accent.value_or(pal.text), 1.0f));
}

void paint_square_corner_card(Canvas& c, const Palette& pal, const RectF& r) {
    const Brush surface = solid(pal.card_surface, pal.card_surface_opacity);
    c.push_clip({r.left + 10, r.top, r.right, r.top + 10});
    c.fill_rounded_rect(r, 10, surface);
    c.pop_clip();
    c.push_clip({r.left, r.top + 10, r.right, r.bottom});
    c.fill_rounded_rect(r, 10, surface);
    c.pop_clip();
    c.fill_rect({r.left, r.top, r.left + 10, r.top + 10}, surface);
}

void paint_hue_bar(Canvas& c, const WidgetItem& it, const RectF& r) {
    const float span = width(r);
    // Counted in whole strips: stepping a float by 3 would stall on huge coordinates.
    const int64_t strips = span > 0 ? (static_cast<int64_t>(it.rect.right) - it.rect.left + 2) / 3 : 0;
    for (int64_t i = 0; i < strips; ++i) {
        const float x = r.left + static_cast<float>(3 * i);
        const double hue = static_cast<double>(3 * i) / static_cast<double>(span) * 360.0;
        c.fill_rect({x, r.top, std::min(x + 3, r.right), r.bottom},
                    solid(color_from_rgb(hue_to_color(hue)), 1.0f));
    }
    const float x = r.left + span * static_cast<float>(color_to_hue(it.color) / 360.0);
    c.fill_rect({x - 3, r.top - 2, x + 3, r.bottom + 2}, solid(color_from_rgb(0x000000), 0.85f));
    c.fill_rect({x - 1.5f, r.top - 2, x + 1.5f, r.bottom + 2},
                solid(color_from_rgb(0xFFFFFF), 1.0f));
}

void paint_hex_preview(Canvas& c, const WidgetItem& it, const Palette& pal, const RectF& r) {
    const uint32_t rgb = it.color & 0xFFFFFF;
    c.fill_rounded_rect(r, 6, solid(color_from_rgb(rgb), 1.0f));
    c.stroke_rounded_rect(r, 6, solid(pal.text, 0.3f), 1);
    const double luminance = 0.299 * ((rgb >> 16) & 0xFF) + 0.587 * ((rgb >> 8) & 0xFF) +
                             0.114 * (rgb & 0xFF);
    const ColorF ink = color_from_rgb(luminance > 150 ? 0x000000 : 0xFFFFFF);
    draw_single_line(c, format_hex_color(rgb), r, TextFormat::Centred, solid(ink, 0.95f));
}

void paint_list_panel(Canvas& c, const Palette& pal, const RectF& r) {
    // Three widening layers a little below the panel make a soft drop shadow.
    for (int i = 1; i <= 3; ++i) {
        const auto d = static_cast<float>(i);
        c.fill_rounded_rect({r.left - d, r.top - d + 2, r.right + d, r.bottom + d + 2}, 10 + d,
                            solid(color_from_rgb(0x000000), pal.dropdown_shadow_opacity));
    }
    c.fill_rounded_rect(r, 10, solid(pal.dropdown_panel, 1.0f));
    c.stroke_rounded_rect(inset(r, 0.5f), 9.5f,
                          solid(pal.dropdown_panel_edge, pal.dropdown_panel_edge_opacity), 1);
}

void paint_segment(Canvas& c, const WidgetItem& it, const Palette& pal, const RectF& r,
                   bool hot, bool pressed) {
    const RectF pill = inset(r, 2);
    const float radius = height(pill) / 2;
    Brush ink = solid(pal.text, 0.7f);
    if (it.selected) {
        c.fill_rounded_rect(pill, radius, solid(color_from_rgb(theme_state().accent), 1.0f));
        ink = solid(pal.on_accent.value_or(color_from_rgb(0xFFFFFF)), 1.0f);
    } else if (hot) {
        c.fill_rounded_rect(pill, radius, solid(pal.text, pressed ? 0.16f : 0.1f));
    }
    draw_single_line(c, it.text, r, TextFormat::Centred, ink);
}

void paint_basic_item(Canvas& c, const WidgetItem& it, const Palette& pal) {
    const RectF r = to_rectf(it.rect);
    // A disabled item never shows a hover or pressed look, even when a rebuild put
    // stale flags back on it.
    const bool pressed = it.enabled && it.pressed;
    const bool hot = it.enabled && (it.hovered || it.pressed);
    const auto step = [&](float normal, float hover, float press) {
        return pressed ? press : hot ? hover : normal;
    };
    switch (it.kind) {
    case 0:
        c.fill_rounded_rect(r, 10, solid(pal.card_surface, pal.card_surface_opacity));
        break;
    case 1:
        draw_single_line(c, it.text, r, TextFormat::Label, solid(pal.text, 0.85f));
        break;
    case 2:
        draw_single_line(c, it.text, r, TextFormat::Trailing, solid(pal.text, 0.6f));
        break;
    case 3:
        c.draw_text(it.text, r, TextFormat::Paragraph, solid(pal.text, 0.8f), true);
        break;
    case 4:
        c.draw_text(it.text, r, TextFormat::ParagraphCentred, solid(pal.text, 0.85f), true);
        break;
    case 5:
        c.draw_text(it.text, r, TextFormat::ParagraphCentred, solid(pal.danger, 1.0f), true);
        break;
    case 6:
        draw_single_line(c, it.text, r, TextFormat::Label, solid(pal.danger, 1.0f));
        break;
    case 7:
        draw_single_line(c, it.text, r, TextFormat::Body,
                         solid(pal.text, step(0.75f, 0.79f, 0.83f)));
        break;
    case 8:
    case 9:
        draw_single_line(c, it.text, r, it.kind == 8 ? TextFormat::Label : TextFormat::Trailing,
                         solid(color_from_rgb(theme_state().accent), step(0.9f, 0.94f, 0.98f)));
        break;
    case 10:
        paint_toggle_row(c, it, pal, r, hot, pressed);
        break;
    case 11:
    case 12:
        paint_filled_button(c, it, pal, r, hot, pressed);
        break;
    case 13:
        c.fill_rounded_rect(r, 6, solid(pal.text, it.enabled ? step(0.1f, 0.14f, 0.18f) : 0.04f));
        draw_single_line(c, it.text, r, TextFormat::Centred,
                         solid(pal.text, it.enabled ? 0.95f : 0.4f));
        break;
    case 14: {
        // A disabled field (nothing to choose) fades like a disabled toggle row.
        const float f = it.enabled ? 1.0f : 0.4f;
        c.fill_rounded_rect(r, height(r) / 2, solid(pal.text, f * step(0.11f, 0.15f, 0.19f)));
        draw_single_line(c, it.text, {r.left + 10, r.top, r.right - 24, r.bottom},
                         TextFormat::Label, solid(pal.text, f * 0.95f));
        draw_single_line(c, "\xE2\x96\xBE", {r.right - 24, r.top, r.right, r.bottom},
                         TextFormat::Centred, solid(pal.text, f * 0.95f));
        break;
    }
    case 15:
        paint_list_panel(c, pal, r);
        break;
    case 16: {
        const RectF inner{r.left + 4, r.top + 2, r.right - 4, r.bottom - 2};
        if (it.on) {
            c.fill_rounded_rect(inner, 6, accent_gradient(inner, 0.85f));
        } else if (it.enabled && it.hovered) {
            c.fill_rounded_rect(inner, 6, solid(pal.text, 0.1f));
        }
        draw_single_line(c, it.text, {r.left + 10, r.top, r.right - 4, r.bottom},
                         TextFormat::Label,
                         solid(it.on ? pal.on_accent.value_or(pal.text) : pal.text, it.on ? 1.0f : 0.9f));
        break;
    }
    case 17:
        if (hot) {
            const Brush fill = is_red_close_command(it.id)
                                   ? solid(pal.close_hover, pressed ? 1.0f : 0.85f)
                                   : solid(pal.text, pressed ? 0.18f : 0.1f);
            c.fill_rect(r, fill);
        }
        draw_single_line(c, it.text, r, TextFormat::Centred, solid(pal.text, 0.9f));
        break;
    case 24:
        paint_square_corner_card(c, pal, r);
        break;
    case 25:
        if (hot) c.fill_rounded_rect(r, 6, solid(pal.danger, pressed ? 0.28f : 0.16f));
        draw_single_line(c, it.text, r, TextFormat::Centred,
                         solid(pal.danger, it.enabled ? 1.0f : 0.4f));
        break;
    case 26:
        c.fill_rounded_rect(r, 6, solid(color_from_rgb(it.color & 0xFFFFFF), 1.0f));
        if (it.selected) {
            c.stroke_rounded_rect(inset(r, -2), 8, solid(pal.text, 0.95f), 2);
        } else {
            c.stroke_rounded_rect(r, 6, solid(pal.text, hot ? 0.7f : 0.25f), 1);
        }
        break;
    case 27:
        paint_hue_bar(c, it, r);
        break;
    case 28:
        paint_hex_preview(c, it, pal, r);
        break;
    case 29:
        paint_segment(c, it, pal, r, hot, pressed);
        break;
    case 30: {
        // The theme switch's groove: a pill of half the height behind the kind 29
        // segments (which inset themselves by 2), a faint fill with a slightly
        // stronger hairline so that the unselected segments still read as one control.
        const float radius = height(r) / 2;
        c.fill_rounded_rect(r, radius, solid(pal.segment_track, pal.segment_track_opacity));
        c.stroke_rounded_rect(inset(r, 0.5f), radius - 0.5f,
                              solid(pal.segment_track, pal.segment_track_outline_opacity), 1);
        break;
    }
    case 31:
        // Where a scrolled list stands: a slim pill that takes no clicks.
        c.fill_rounded_rect(r, width(r) / 2, solid(pal.text, 0.3f));
        break;
    default:
        // 18, 19 and 20 are hit targets whose windows draw them; unknown kinds draw
        // nothing rather than guess.
        break;
    }
}

}  // namespace

void paint_item(Canvas& canvas, const WidgetItem& item, std::span<const LayoutPreview> previews) {
    const Palette& pal = palette(theme_state().light);
    if (item.kind >= 21 && item.kind <= 23) {
        paint_preview_item(canvas, item, pal, previews);
    } else {
        paint_basic_item(canvas, item, pal);
    }
}

}  // namespace tw
