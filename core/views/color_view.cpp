#include "core/views/color_view.h"

#include "core/ui/accessible_tree.h"

#include <algorithm>

#include "core/base/color.h"
#include "core/model/catalog.h"
#include "core/views/dialog_views.h"

namespace tw {

ColorDialogState open_color_state(uint32_t accent) {
    ColorDialogState s;
    s.shown = s.opening = accent & 0xFFFFFF;
    s.hex.set_text(format_hex_color(s.shown));
    return s;
}

Rect hue_slider_rect(int32_t width) { return {28, 216, width - 28, 240}; }
Rect hex_field_rect() { return {28, 254, 158, 282}; }

std::vector<WidgetItem> build_color_view(const ColorDialogState& state, int32_t width) {
    const int32_t W = width;
    std::vector<WidgetItem> items;
    add_dialog_caption(items, W, tr("color.title"), color_id::kCloseGlyph);
    push_item(items, 0, 0, {16, 48, W - 16, 294});
    push_item(items, 0, 1, {28, 58, W - 28, 76}, tr("color.presets_heading"));
    for (int32_t i = 0; i < static_cast<int32_t>(kColorPresets.size()); ++i) {
        const int32_t x = 28 + (i % 6) * 56, y = 82 + (i / 6) * 56;
        const uint32_t rgb = kColorPresets[static_cast<size_t>(i)];
        WidgetItem& swatch = push_item(items, color_id::kFirstPreset + static_cast<uint64_t>(i), 26,
                                       {x, y, x + 44, y + 44});
        swatch.color = rgb;
        swatch.selected = rgb == state.shown ? 1 : 0;
    }
    push_item(items, 0, 1, {28, 194, W - 28, 212}, tr("color.hue_heading"));
    push_item(items, color_id::kHue, 27, hue_slider_rect(W)).color = state.shown;
    // The field draws itself over the frame; this item makes it a click target.
    WidgetItem& hex = push_item(items, color_id::kHex, 20, hex_field_rect(), state.hex.text());
    hex.role = static_cast<uint8_t>(AccessibleRole::EditableText);
    hex.label = tr("a11y.hex_field");
    if (hex_field_invalid(state))
        push_item(items, 0, 6, {166, 254, W - 28, 282}, tr("color.error_invalid"));
    else
        push_item(items, 0, 28, {W - 148, 254, W - 28, 282}).color = state.shown;
    push_item(items, color_id::kDone, 11, {16, 310, 116, 340}, tr("color.done_button"));
    push_item(items, color_id::kCancel, 13, {W - 128, 310, W - 28, 340}, tr("common.cancel"));
    return items;
}

double hue_at(int32_t x, int32_t width) {
    const Rect r = hue_slider_rect(width);
    if (r.right <= r.left) return 0;
    const double t = static_cast<double>(x - r.left) / (r.right - r.left);
    return std::clamp(t, 0.0, 1.0) * 360.0;
}

bool choose_color(ColorDialogState& state, uint32_t rgb) {
    rgb &= 0xFFFFFF;
    const bool changed = rgb != state.shown;
    state.shown = rgb;
    state.hex.set_text(format_hex_color(rgb));
    return changed;
}

bool preview_typed_color(ColorDialogState& state) {
    const auto typed = parse_hex_color(state.hex.text());
    if (!typed || *typed == state.shown) return false;
    state.shown = *typed;
    return true;
}

bool commit_hex_field(ColorDialogState& state) {
    if (const auto typed = parse_hex_color(state.hex.text())) return choose_color(state, *typed);
    state.hex.set_text(format_hex_color(state.shown));
    return false;
}

bool hex_field_invalid(const ColorDialogState& state) {
    if (state.refused) return true;
    const std::string text = state.hex.text();
    std::string_view t = text;
    if (t.starts_with('#')) t.remove_prefix(1);
    if (t.size() > 6) return true;
    for (char c : t)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) return true;
    return false;
}

bool refuse_invalid_hex(ColorDialogState& state) {
    state.refused = !parse_hex_color(state.hex.text()).has_value();
    return state.refused;
}

void paint_hex_field(Canvas& canvas, const ColorDialogState& state, bool caret_visible) {
    const RectF r = to_rectf(hex_field_rect());
    state.hex.draw(canvas, r, true, caret_visible);
    if (hex_field_invalid(state))
        canvas.stroke_rounded_rect(r, 6, Brush::solid(palette(theme_state().light).danger, 1.0f), 1.5f);
}

ColorDialogOutcome color_dialog_outcome(const ColorDialogState& state) {
    if (state.done) return {state.shown, true};
    return {state.opening, false};
}

}  // namespace tw
