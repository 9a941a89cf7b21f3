#pragma once
// What a drawn widget needs from a renderer. The Direct2D renderer implements it in
// app/; tests record the calls. Coordinates are device-independent pixels.
#include <cstdint>
#include <string_view>

namespace tw {

struct ColorF {
    float r = 0, g = 0, b = 0, a = 1;
    friend bool operator==(const ColorF&, const ColorF&) = default;
};

// 0xRRGGBB to four floats, each channel byte / 255, alpha 1.
constexpr ColorF color_from_rgb(uint32_t rgb) {
    return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f,
            static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(rgb & 0xFF) / 255.0f, 1.0f};
}

struct PointF {
    float x = 0, y = 0;
    friend bool operator==(const PointF&, const PointF&) = default;
};

struct RectF {
    float left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const RectF&, const RectF&) = default;
};

// A brush made for one drawing call: a solid colour, or a two-stop linear gradient
// from `start` to `end` (colour0 at 0.0, colour1 at 1.0), with a brush opacity.
struct Brush {
    enum class Kind : uint8_t { Solid, Gradient } kind = Kind::Solid;
    ColorF color0;
    ColorF color1;
    PointF start;
    PointF end;
    float opacity = 1;
    friend bool operator==(const Brush&, const Brush&) = default;

    static Brush solid(ColorF c, float opacity) { return {Kind::Solid, c, c, {}, {}, opacity}; }
    static Brush gradient(PointF from, PointF to, ColorF c0, ColorF c1, float opacity) {
        return {Kind::Gradient, c0, c1, from, to, opacity};
    }
};

// The eight text formats every drawn window has, in creation order.
enum class TextFormat : uint8_t {
    Body,               // leading, near
    Semibold,           // weight 600, leading, near
    Centred,            // center, center
    Label,              // leading, center
    Trailing,           // trailing, center
    Mono,               // Consolas, leading, center
    Paragraph,          // wraps, near
    ParagraphCentred,   // wraps, center
};
inline constexpr int kTextFormatCount = 8;

class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    // Width including trailing white space; 0 for empty text or on failure.
    virtual float measure_text_width(std::string_view utf8, TextFormat format) = 0;
};

class Canvas : public TextMeasure {
public:
    virtual void fill_rect(const RectF& r, const Brush& b) = 0;
    virtual void fill_rounded_rect(const RectF& r, float radius, const Brush& b) = 0;
    virtual void stroke_rounded_rect(const RectF& r, float radius, const Brush& b,
                                     float stroke_width) = 0;
    virtual void draw_text(std::string_view utf8, const RectF& r, TextFormat format,
                           const Brush& b, bool clip) = 0;
    virtual void push_clip(const RectF& r) = 0;
    virtual void pop_clip() = 0;
};

}  // namespace tw
