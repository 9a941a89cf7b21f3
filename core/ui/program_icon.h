#pragma once
// The program's icon: three opaque blocks in the accent colour on a transparent square
// (a light top-left square, a top-right square that is the accent while the engine runs
// and red while it is stopped, a dark bottom band), and the choice of an image from the
// embedded .ico file when drawing fails.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tw {

// size x size pixels, rows top-down, each 0xAARRGGBB (alpha 0 or 255).
std::vector<uint32_t> program_icon_pixels(int size, bool active, uint32_t accent_rgb);

// Each channel halfway to white, rounded half away from zero. (The dark band uses
// darker_accent from core/color.h.)
uint32_t lighten_half(uint32_t rgb);

struct IcoEntry {
    int size = 0;  // width in pixels; a width byte of 0 means 256
    size_t offset = 0;
    size_t length = 0;
};
// The entries of an ICO directory whose image data lies inside the file.
std::vector<IcoEntry> ico_entries(std::string_view file);
// The largest entry not larger than `requested`, or the smallest when all are larger.
std::optional<IcoEntry> choose_ico_entry(const std::vector<IcoEntry>& entries, int requested);

}  // namespace tw
