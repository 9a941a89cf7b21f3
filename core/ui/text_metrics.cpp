#include "core/ui/text_metrics.h"

#include <cmath>
#include <limits>

namespace tw {

std::u32string decode_utf8(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) out.push_back(decode_utf8_at(utf8, i));
    return out;
}

std::string encode_utf8(std::u32string_view chars) {
    std::string out;
    out.reserve(chars.size());
    for (char32_t c : chars) append_utf8(out, c);
    return out;
}

size_t count_scalars(std::string_view utf8) {
    size_t n = 0;
    size_t i = 0;
    while (i < utf8.size()) {
        decode_utf8_at(utf8, i);
        ++n;
    }
    return n;
}

int32_t estimate_text_width(std::string_view utf8) {
    return estimate_width_of_scalars(count_scalars(utf8));
}

int32_t estimate_width_of_scalars(uint64_t count) {
    const double width = std::ceil(static_cast<double>(count) * 7.5);
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    return width >= kMax ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(width);
}

}  // namespace tw
