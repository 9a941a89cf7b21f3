#pragma once
// Pixel geometry shared by the placement engine. Rectangles are in physical
// virtual-screen pixels with exclusive right and bottom edges: a point (x, y) lies
// inside when left <= x < right and top <= y < bottom.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tw {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// v clamped to the 32-bit range: coordinates computed in 64 bits never wrap around.
constexpr int32_t saturate_int32(int64_t v) {
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v);
}

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;

    // Computed in 64 bits and saturated to the 32-bit range.
    int32_t width() const { return saturating_span(left, right); }
    int32_t height() const { return saturating_span(top, bottom); }

    static int32_t saturating_span(int32_t from, int32_t to) { return saturate_int32(int64_t{to} - from); }
};

// Centre with integer division truncating toward zero, computed without overflow.
Point centre(const Rect& r);
bool contains(const Rect& r, Point p);
// A rectangle without a single pixel (inverted ones included).
bool is_empty(const Rect& r);
// The part of `r` inside `bounds`. When nothing is left the result is an empty
// rectangle on the edge of `bounds` nearest to `r`, so that it never widens a
// bounding box of rectangles inside `bounds`.
Rect clip_to(const Rect& r, const Rect& bounds);
// Each of the four edges of a and b differs by at most `tolerance` pixels.
// <windows.h> defines `near` as an empty macro (a 16-bit relic); keep it out of the way
// here. Win32 code that calls this function writes (near)(a, b, t).
#pragma push_macro("near")
#undef near
bool near(const Rect& a, const Rect& b, int32_t tolerance);
#pragma pop_macro("near")
// The length the spans [a0, a1) and [b0, b1) share along one axis; 0 when they do not meet.
int64_t overlap_length(int32_t a0, int32_t a1, int32_t b0, int32_t b1);
// r reaches each edge of target to within 2 pixels.
bool covers(const Rect& r, const Rect& target);
// The first zone containing p, else the zone whose centre is nearest (squared
// distance, exact for any 32-bit coordinates; earlier zone wins ties); empty zones
// are never chosen, and nothing comes back when no zone has a pixel.
std::optional<Rect> zone_at_point(Point p, const std::vector<Rect>& zones);

// "[l,t,r,b]" as the confiner and drag lines print rectangles.
std::string rect_text(const Rect& r);
// "RECT { left: L, top: T, right: R, bottom: B }" as the keyboard-move lines print them.
std::string rect_struct_text(const Rect& r);
// "[RECT { ... }, RECT { ... }]", "[]" when empty.
std::string rect_list_text(const std::vector<Rect>& rects);

}  // namespace tw
