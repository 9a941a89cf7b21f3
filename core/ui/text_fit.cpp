#include "core/ui/text_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/ui/text_metrics.h"

namespace tw {

namespace {

bool is_line_break_or_control(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

// Quick byte scan for what is_line_break_or_control matches, so that clean text (all
// but hostile names) is not decoded at all when it fits.
bool has_line_break_or_control(std::string_view s) {
    const auto at = [s](size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0; };
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char b = at(i);
        if (b < 0x20 || b == 0x7F) return true;
        if (b == 0xC2 && at(i + 1) >= 0x80 && at(i + 1) <= 0x9F) return true;
        if (b == 0xE2 && at(i + 1) == 0x80 && (at(i + 2) == 0xA8 || at(i + 2) == 0xA9)) return true;
    }
    return false;
}

// The Brahmic scripts from Devanagari to Malayalam share one plan per 128-character
// block: signs and vowel marks sit at the same offsets in each of them.
bool is_brahmic(char32_t c) { return c >= 0x0900 && c <= 0x0D7F; }

// A character drawn together with the one before it: combining marks of the common
// scripts, joiners, variation selectors, emoji skin tones and tags, Hangul vowels and
// finals. A cut before one would leave a mark without its base.
bool continues_cluster(char32_t c) {
    if (is_brahmic(c)) {
        const unsigned o = static_cast<unsigned>(c) & 0x7F;
        return o <= 0x03 || (o >= 0x3A && o <= 0x4F && o != 0x3D) || (o >= 0x51 && o <= 0x57) ||
               o == 0x62 || o == 0x63;
    }
    struct Range { char32_t lo, hi; };
    static constexpr Range kRanges[] = {
        {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x05BF, 0x05BF},
        {0x05C1, 0x05C2}, {0x05C4, 0x05C5}, {0x05C7, 0x05C7}, {0x0610, 0x061A},
        {0x064B, 0x065F}, {0x0670, 0x0670}, {0x06D6, 0x06DC}, {0x06DF, 0x06E4},
        {0x06E7, 0x06E8}, {0x06EA, 0x06ED}, {0x0E31, 0x0E31}, {0x0E34, 0x0E3A},
        {0x0E47, 0x0E4E}, {0x0EB1, 0x0EB1}, {0x0EB4, 0x0EBC}, {0x0EC8, 0x0ECD},
        {0x1160, 0x11FF}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200C, 0x200D},
        {0x20D0, 0x20FF}, {0x302A, 0x302F}, {0x3099, 0x309A}, {0xFE00, 0xFE0F},
        {0xFE20, 0xFE2F}, {0x1F3FB, 0x1F3FF}, {0xE0020, 0xE007F}, {0xE0100, 0xE01EF},
    };
    for (const Range& r : kRanges)
        if (c >= r.lo && c <= r.hi) return true;
    return false;
}

// A character that joins the next one into a single shape: the zero-width joiner and
// the virama of the Brahmic scripts (the sign that makes a conjunct).
bool joins_next(char32_t c) {
    return c == 0x200D || (is_brahmic(c) && (static_cast<unsigned>(c) & 0x7F) == 0x4D);
}

bool is_regional_indicator(char32_t c) { return c >= 0x1F1E6 && c <= 0x1F1FF; }

bool is_space(char32_t c) { return c == U' ' || c == 0x00A0 || c == 0x3000; }

// Moves a cut at `k` back to the start of the character cluster it would split.
size_t cluster_boundary(const std::u32string& chars, size_t k) {
    while (k > 0 && k < chars.size()) {
        if (continues_cluster(chars[k]) || joins_next(chars[k - 1])) {
            --k;
            continue;
        }
        if (is_regional_indicator(chars[k]) && is_regional_indicator(chars[k - 1])) {
            // Flags are pairs: a cut after an odd number of indicators splits one.
            size_t run = 0;
            while (run < k && is_regional_indicator(chars[k - 1 - run])) ++run;
            if (run % 2 == 1) {
                --k;
                continue;
            }
        }
        break;
    }
    return k;
}

std::string prefix_with_ellipsis(const std::u32string& chars, size_t k) {
    while (k > 0 && is_space(chars[k - 1])) --k;
    std::string out = encode_utf8(std::u32string_view(chars).substr(0, k));
    out += kEllipsis;
    return out;
}

// How many characters a line `max_width` wide can possibly show. No visible character
// of a 12 DIP face is narrower than half a DIP, and the margin keeps zero-width marks
// from cutting a text that would just fit.
size_t most_characters_shown(float max_width) {
    if (!(max_width < 1e6f)) return SIZE_MAX;
    return 2 * static_cast<size_t>(std::ceil(max_width)) + 64;
}

}  // namespace

std::string fit_single_line(TextMeasure& measure, std::string_view utf8, TextFormat format,
                            float max_width) {
    if (utf8.empty()) return {};
    if (!(max_width > 0)) return {};
    // A NaN width (a broken measure) counts as fitting: the text is then drawn whole
    // and the clip keeps it inside the widget.
    const auto fits = [&](std::string_view text) {
        return !(measure.measure_text_width(text, format) > max_width);
    };
    const size_t limit = most_characters_shown(max_width);
    // The byte count bounds the character count: short clean texts are measured as
    // they are, and a long one is never scanned beyond the part that can be shown.
    if (utf8.size() <= limit && !has_line_break_or_control(utf8) && fits(utf8))
        return std::string(utf8);

    // No character takes more than four bytes: decoding stops soon after the bound.
    const size_t most_bytes = limit < SIZE_MAX / 8 ? 4 * (limit + 1) : utf8.size();
    std::u32string chars = decode_utf8(utf8.substr(0, std::min(utf8.size(), most_bytes)));
    for (char32_t& c : chars)
        if (is_line_break_or_control(c)) c = U' ';
    const bool truncated = chars.size() > limit;
    if (truncated) chars.resize(limit);
    if (!truncated) {
        std::string one_line = encode_utf8(chars);
        if (fits(one_line)) return one_line;
    }
    if (!fits(kEllipsis)) return {};
    // The longest prefix that still fits with the ellipsis after it; widths grow with
    // the prefix, so a binary search needs only a logarithmic number of measurements.
    size_t lo = 0, hi = chars.size();  // prefix lo fits, prefix hi does not (or is all)
    while (hi - lo > 1) {
        const size_t mid = lo + (hi - lo) / 2;
        if (fits(prefix_with_ellipsis(chars, mid)))
            lo = mid;
        else
            hi = mid;
    }
    return prefix_with_ellipsis(chars, cluster_boundary(chars, lo));
}

void draw_single_line(Canvas& canvas, std::string_view utf8, const RectF& r, TextFormat format,
                      const Brush& brush) {
    const std::string line = fit_single_line(canvas, utf8, format, r.right - r.left);
    if (!line.empty()) canvas.draw_text(line, r, format, brush, true);
}

}  // namespace tw
