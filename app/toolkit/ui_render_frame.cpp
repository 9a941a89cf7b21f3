// The widget-list frame, kept apart from the drawing primitives so that code which only
// draws on the canvas does not pull in the widget painter.
#include "app/toolkit/ui_render.h"

namespace tw::app {

bool Renderer::paint(const std::vector<WidgetItem>& items, std::optional<size_t> focus,
                     const std::vector<LayoutPreview>& previews, float width, float height,
                     const std::function<void(Canvas&)>& overlay) {
    return draw_frame([&](Canvas& canvas) {
        paint_frame(canvas, items, focus, previews, width, height);
        if (overlay) overlay(canvas);
    });
}

}  // namespace tw::app
