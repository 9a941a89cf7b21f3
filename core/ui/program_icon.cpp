#include "core/ui/program_icon.h"

#include <algorithm>
#include <cmath>

#include "core/base/color.h"

namespace tw {

namespace {
uint32_t channel_map(uint32_t rgb, double (*f)(double)) {
    uint32_t out = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        double v = f(static_cast<double>((rgb >> shift) & 0xFF));
        auto c = static_cast<uint32_t>(std::min(255.0, std::round(v)));  // round: half away from zero
        out |= c << shift;
    }
    return out;
}
}  // namespace

uint32_t lighten_half(uint32_t rgb) {
    return channel_map(rgb, [](double v) { return 0.5 * (255.0 - v) + v; });
}


std::vector<uint32_t> program_icon_pixels(int size, bool active, uint32_t accent_rgb) {
    if (size <= 0) return {};
    const auto s = static_cast<size_t>(size);
    std::vector<uint32_t> px(s * s, 0);
    const int g = static_cast<int>(std::lround(0.08 * size));
    const int c = (size - 3 * g) / 2;
    auto fill = [&](int x0, int y0, int x1, int y1, uint32_t rgb) {
        for (int y = std::max(0, y0); y < std::min(size, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(size, x1); ++x)
                px[static_cast<size_t>(y) * s + static_cast<size_t>(x)] = 0xFF000000u | rgb;
    };
    fill(g, g, g + c, g + c, lighten_half(accent_rgb));
    fill(2 * g + c, g, 2 * g + 2 * c, g + c, active ? (accent_rgb & 0xFFFFFF) : 0xEF4444u);
    fill(g, 2 * g + c, 2 * g + 2 * c, 2 * g + 2 * c, darker_accent(accent_rgb));
    return px;
}

std::vector<IcoEntry> ico_entries(std::string_view file) {
    auto u16 = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<unsigned char>(file[at])) |
               static_cast<uint32_t>(static_cast<unsigned char>(file[at + 1])) << 8;
    };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    std::vector<IcoEntry> out;
    if (file.size() < 6 || u16(0) != 0 || u16(2) != 1) return out;
    const size_t count = u16(4);
    for (size_t i = 0; i < count; ++i) {
        const size_t at = 6 + 16 * i;
        if (at + 16 > file.size()) break;
        IcoEntry e;
        auto width = static_cast<unsigned char>(file[at]);
        e.size = width == 0 ? 256 : width;
        e.length = u32(at + 8);
        e.offset = u32(at + 12);
        if (e.length == 0 || e.offset > file.size() || e.length > file.size() - e.offset) continue;
        out.push_back(e);
    }
    return out;
}

std::optional<IcoEntry> choose_ico_entry(const std::vector<IcoEntry>& entries, int requested) {
    const IcoEntry* best = nullptr;
    const IcoEntry* smallest = nullptr;
    for (const auto& e : entries) {
        if (e.size <= requested && (!best || e.size > best->size)) best = &e;
        if (!smallest || e.size < smallest->size) smallest = &e;
    }
    if (best) return *best;
    if (smallest) return *smallest;
    return std::nullopt;
}

}  // namespace tw
