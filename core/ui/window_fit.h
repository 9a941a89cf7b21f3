#pragma once
// How a drawn window fits the screen it is on: its height is what its content needs,
// never more than the monitor's work area at the window's scale; what does not fit
// scrolls, and a window that scrolls shows where it stands with a slim bar along its
// right edge. The buttons that end a window (Save, Cancel) stay in a footer pinned to
// its bottom edge while the part above them scrolls.
#include <cstdint>
#include <optional>

#include "core/base/geometry.h"

namespace tw {

// The height of a window of `content` DIPs on a work area `work_pixels` high at
// `scale`: in pixels (at least 1) and as the client height in DIPs it gives.
struct FittedHeight {
    int32_t pixels = 1;
    int32_t dips = 1;
    bool scrolls = false;  // the content is taller than the window
    friend bool operator==(const FittedHeight&, const FittedHeight&) = default;
};
FittedHeight fit_height(int32_t content_dips, double scale, int32_t work_pixels);

// Where the bar of a scrolled area stands: `track` is the strip it moves in, `viewport`
// how much of `content` shows, `scroll` how far the area has moved. The bar is as long
// as the shown part is of the whole (at least 24 DIPs, never longer than the track).
// Nothing when everything shows.
std::optional<Rect> scroll_thumb(const Rect& track, int64_t content, int64_t viewport, int64_t scroll);

// The footer of a window whose content is `content_bottom` DIPs high (its own 16 DIPs
// margin included) in a client `client_height` high, the footer taking `footer` DIPs
// above the margin: its top when the content does not fit (the footer is pinned to the
// bottom edge and the part above it scrolls), nothing when everything fits.
std::optional<int32_t> pinned_footer_top(int32_t content_bottom, int32_t footer, int32_t client_height);

}  // namespace tw
