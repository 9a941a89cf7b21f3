#pragma once
// Internal split of the widget painter: the plain kinds and the layout-preview kinds
// live in separate files and meet in paint_item.
#include <span>

#include "core/ui/widgets.h"

namespace tw::paint_detail {

inline Brush solid(ColorF c, float opacity) { return Brush::solid(c, opacity); }
inline RectF inset(const RectF& r, float d) {
    return {r.left + d, r.top + d, r.right - d, r.bottom - d};
}
inline float height(const RectF& r) { return r.bottom - r.top; }
inline float width(const RectF& r) { return r.right - r.left; }

// Kinds 21 to 23; returns without drawing when the preview index is out of range.
void paint_preview_item(Canvas& canvas, const WidgetItem& item, const Palette& pal,
                        std::span<const LayoutPreview> previews);

}  // namespace tw::paint_detail
