#include "core/ui/window_fit.h"

#include <algorithm>
#include <cmath>

namespace tw {

FittedHeight fit_height(int32_t content_dips, double scale, int32_t work_pixels) {
    const double s = std::isfinite(scale) && scale >= 1.0 ? scale : 1.0;
    const int32_t room = std::max(1, work_pixels);
    const double wanted = std::round(std::max(1, content_dips) * s);
    FittedHeight f;
    f.pixels = wanted > room ? room : std::max(1, static_cast<int32_t>(wanted));
    // The client in DIPs is what the renderer lays out for: pixels / scale, rounded.
    f.dips = std::max(1, static_cast<int32_t>(std::lround(f.pixels / s)));
    f.scrolls = content_dips > f.dips;
    return f;
}

std::optional<Rect> scroll_thumb(const Rect& track, int64_t content, int64_t viewport, int64_t scroll) {
    const int64_t length = int64_t{track.bottom} - track.top;
    if (viewport <= 0 || content <= viewport || length <= 0) return std::nullopt;
    const int64_t thumb = std::clamp<int64_t>(length * viewport / content, std::min<int64_t>(24, length), length);
    const int64_t most = content - viewport;
    const int64_t offset = (length - thumb) * std::clamp<int64_t>(scroll, 0, most) / most;
    const auto top = static_cast<int32_t>(track.top + offset);
    return Rect{track.left, top, track.right, static_cast<int32_t>(top + thumb)};
}

std::optional<int32_t> pinned_footer_top(int32_t content_bottom, int32_t footer, int32_t client_height) {
    if (content_bottom <= client_height) return std::nullopt;
    return client_height - 16 - footer;
}

}  // namespace tw
