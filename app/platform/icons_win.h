#pragma once
// The program icon drawn at run time in the accent colour, and the embedded icon file
// as the fallback.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace tw::app {

// An icon of size x size pixels (rows top-down, 0xAARRGGBB); null when the pixels do
// not fill the square or a GDI call fails. The caller destroys it.
HICON icon_from_pixels(int size, const std::vector<uint32_t>& pixels);
// A size x size icon; null when a drawing call fails. The caller destroys it.
HICON draw_program_icon(int size, bool active, uint32_t accent_rgb);
// The image of the embedded icon file that suits `size` best; null when none loads.
HICON load_embedded_icon(HINSTANCE instance, int size);
// The drawn icon, else the embedded one.
HICON program_icon(HINSTANCE instance, int size, uint32_t accent_rgb);

}  // namespace tw::app
