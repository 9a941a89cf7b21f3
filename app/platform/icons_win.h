#pragma once
// The program icon drawn at run time in the accent colour, and the embedded icon file
// as the fallback.
#include <windows.h>

#include <cstdint>

namespace tw::app {

// A size x size icon; null when a drawing call fails. The caller destroys it.
HICON draw_program_icon(int size, bool active, uint32_t accent_rgb);
// The image of the embedded icon file that suits `size` best; null when none loads.
HICON load_embedded_icon(HINSTANCE instance, int size);
// The drawn icon, else the embedded one.
HICON program_icon(HINSTANCE instance, int size, uint32_t accent_rgb);

}  // namespace tw::app
