#include "core/ui/widgets.h"

#include <cmath>

#include "core/base/color.h"
#include "core/model/settings.h"

namespace tw {

ThemeState& theme_state() {
    static ThemeState state;
    return state;
}

bool resolve_light_theme(Theme setting, std::optional<uint32_t> apps_use_light_theme) {
    switch (setting) {
    case Theme::Light:
        return true;
    case Theme::Auto:
        return apps_use_light_theme.has_value() && *apps_use_light_theme != 0;
    case Theme::Dark:
        break;
    }
    return false;
}

Palette high_contrast_palette(const SystemColors& c) {
    const ColorF text = color_from_rgb(c.window_text), window = color_from_rgb(c.window);
    const ColorF highlight = color_from_rgb(c.highlight);
    return Palette{
        .text = text,
        .background_from = window,
        .background_to = window,
        .card_surface = window,
        .card_surface_opacity = 1.0f,
        .dropdown_panel = color_from_rgb(c.button_face),
        .dropdown_panel_edge = text,
        .dropdown_panel_edge_opacity = 1.0f,
        .dropdown_shadow_opacity = 0.0f,
        .danger = text,
        .danger_from = highlight,
        .danger_to = highlight,
        .success_from = highlight,
        .success_to = highlight,
        .close_hover = highlight,
        .segment_track = text,
        .segment_track_opacity = 0.0f,
        .segment_track_outline_opacity = 1.0f,
        .on_accent = color_from_rgb(c.highlight_text),
    };
}

const Palette& palette(bool light) {
    if (const auto& hc = theme_state().high_contrast) {
        // Rebuilt only when the system's colours change.
        static SystemColors cached_colors;
        static Palette cached = high_contrast_palette(cached_colors);
        if (!(*hc == cached_colors)) {
            cached_colors = *hc;
            cached = high_contrast_palette(cached_colors);
        }
        return cached;
    }
    static const Palette dark{
        .text = color_from_rgb(0xFFFFFF),
        .background_from = color_from_rgb(0x241B3D),
        .background_to = color_from_rgb(0x171226),
        .card_surface = color_from_rgb(0xFFFFFF),
        .card_surface_opacity = 0.05f,
        .dropdown_panel = color_from_rgb(0x463D6A),
        .dropdown_panel_edge = color_from_rgb(0xFFFFFF),
        .dropdown_panel_edge_opacity = 0.14f,
        .dropdown_shadow_opacity = 0.1f,
        .danger = color_from_rgb(0xEF4444),
        .danger_from = color_from_rgb(0xEF4444),
        .danger_to = color_from_rgb(0xDC2626),
        .success_from = color_from_rgb(0x22C55E),
        .success_to = color_from_rgb(0x16A34A),
        .close_hover = color_from_rgb(0xDB2626),
        .segment_track = color_from_rgb(0xFFFFFF),
        .segment_track_opacity = 0.07f,
        .segment_track_outline_opacity = 0.1f,
    };
    static const Palette bright{
        .text = color_from_rgb(0x201C2B),
        .background_from = color_from_rgb(0xECEBF2),
        .background_to = color_from_rgb(0xE5E3EE),
        .card_surface = color_from_rgb(0xFFFFFF),
        .card_surface_opacity = 1.0f,
        .dropdown_panel = color_from_rgb(0xFFFFFF),
        .dropdown_panel_edge = color_from_rgb(0x201C2B),
        .dropdown_panel_edge_opacity = 0.16f,
        .dropdown_shadow_opacity = 0.045f,
        .danger = color_from_rgb(0xEF4444),
        .danger_from = color_from_rgb(0xEF4444),
        .danger_to = color_from_rgb(0xDC2626),
        .success_from = color_from_rgb(0x22C55E),
        .success_to = color_from_rgb(0x16A34A),
        .close_hover = color_from_rgb(0xDB2626),
        // On the pale background a dark groove at low opacity; white would vanish.
        .segment_track = color_from_rgb(0x201C2B),
        .segment_track_opacity = 0.07f,
        .segment_track_outline_opacity = 0.08f,
    };
    return light ? bright : dark;
}

Brush accent_gradient(const RectF& r, float opacity) {
    const uint32_t accent = theme_state().accent;
    return Brush::gradient({r.left, r.top}, {r.right, r.bottom}, color_from_rgb(accent),
                           color_from_rgb(darker_accent(accent)), opacity);
}

WidgetItem& push_item(std::vector<WidgetItem>& items, uint64_t id, uint8_t kind, Rect rect,
                      std::string_view text) {
    WidgetItem& item = items.emplace_back();
    item.text = std::string(text);
    item.kind = kind;
    item.id = id;
    item.rect = rect;
    return item;
}

bool is_clickable_kind(uint8_t kind) {
    return (kind >= 7 && kind <= 14) || (kind >= 16 && kind <= 18) || (kind >= 20 && kind <= 22) ||
           (kind >= 25 && kind <= 27) || kind == 29;
}

std::optional<size_t> hit_test(const std::vector<WidgetItem>& items, int32_t x, int32_t y) {
    for (size_t i = items.size(); i-- > 0;) {
        const WidgetItem& it = items[i];
        if (!is_clickable_kind(it.kind) || it.enabled != 1) continue;
        if (contains(it.rect, {x, y})) return i;
    }
    return std::nullopt;
}

RectF to_rectf(const Rect& r) {
    return {static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
            static_cast<float>(r.bottom)};
}

bool PointerTracker::move(std::vector<WidgetItem>& items, int32_t x, int32_t y) {
    const std::optional<size_t> hit = hit_test(items, x, y);
    if (hit == hovered_) return false;
    if (hovered_ && *hovered_ < items.size()) items[*hovered_].hovered = 0;
    if (hit) items[*hit].hovered = 1;
    hovered_ = hit;
    return true;
}

bool PointerTracker::leave(std::vector<WidgetItem>& items) {
    if (!hovered_) return false;
    if (*hovered_ < items.size()) items[*hovered_].hovered = 0;
    hovered_.reset();
    return true;
}

std::optional<size_t> PointerTracker::press(std::vector<WidgetItem>& items, int32_t x,
                                            int32_t y) {
    const std::optional<size_t> hit = hit_test(items, x, y);
    if (hit) {
        items[*hit].pressed = 1;
        pressed_ = hit;
    }
    return hit;
}

PointerTracker::Release PointerTracker::release(std::vector<WidgetItem>& items, int32_t x,
                                                int32_t y) {
    Release result;
    for (WidgetItem& it : items) it.pressed = 0;
    if (pressed_) {
        result.repaint = true;
        if (hit_test(items, x, y) == pressed_) result.command = items[*pressed_].id;
    }
    pressed_.reset();
    return result;
}

void PointerTracker::reapply(std::vector<WidgetItem>& items) const {
    if (hovered_ && *hovered_ < items.size()) items[*hovered_].hovered = 1;
    if (pressed_ && *pressed_ < items.size()) items[*pressed_].pressed = 1;
}

}  // namespace tw
