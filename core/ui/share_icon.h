#pragma once
// The window icon of a share's mirror: a dashed square ring, like the frame drawn
// around a shared zone, in the accent colour on a transparent square.
#include <cstdint>
#include <vector>

namespace tw {

// size x size pixels, rows top-down, each 0xAARRGGBB (alpha 0 or 255). With b = size / 8
// the ring lies between the squares inset by b and by 2b; its sides are dashes b pixels
// long (every other b-pixel step counted from the ring's outer corner is left out) and
// its four b x b corners are always drawn. Empty for sizes below 8, which have no ring.
std::vector<uint32_t> share_icon_pixels(int size, uint32_t accent_rgb);

}  // namespace tw
