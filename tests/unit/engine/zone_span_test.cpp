#include <gtest/gtest.h>

#include "core/engine/zone_span.h"
#include "support/print.h"

namespace tw {
namespace {

using D = Direction;

// Three columns and two rows on 1920x1080; `gap` leaves that many pixels between each
// zone and the next and half as many along the screen's edge, as a spaced layout does.
std::vector<Rect> grid(int32_t gap) {
    std::vector<Rect> out;
    for (int32_t r = 0; r < 2; ++r)
        for (int32_t c = 0; c < 3; ++c)
            out.push_back({c * 640 + gap / 2, r * 540 + gap / 2, (c + 1) * 640 - gap / 2,
                           (r + 1) * 540 - gap / 2});
    return out;
}

// A top row cut at 640 and a bottom row cut at 1280: no span is a plain union of two.
const std::vector<Rect> kBricks{{0, 0, 640, 540}, {640, 0, 1920, 540}, {0, 540, 1280, 1080},
                                {1280, 540, 1920, 1080}};

Rect box(const std::vector<Rect>& z, size_t a, size_t b) {
    return {std::min(z[a].left, z[b].left), std::min(z[a].top, z[b].top), std::max(z[a].right, z[b].right),
            std::max(z[a].bottom, z[b].bottom)};
}

TEST(ZoneSpan, SpanOfTwoZones) {
    struct Case { const char* name; std::vector<Rect> zones; size_t a, b; Rect want; };
    const std::vector<Rect> g0 = grid(0), g8 = grid(8);
    const Case cases[] = {
        {"anchor and cursor on the same zone", g0, 4, 4, g0[4]},
        {"neighbours in a row", g0, 0, 1, box(g0, 0, 1)},
        {"the other way round", g0, 1, 0, box(g0, 0, 1)},
        {"diagonal pick takes the four zones", g0, 0, 4, box(g0, 0, 4)},
        {"across the whole grid", g0, 5, 0, {0, 0, 1920, 1080}},
        {"zones with gaps: the inner gap is covered, the outer kept", g8, 0, 1, {4, 4, 1276, 536}},
        {"gapped diagonal", g8, 1, 5, {644, 4, 1916, 1076}},
        {"L-shaped pick grows to its whole rectangle", kBricks, 0, 2, {0, 0, 1920, 1080}},
        {"a row of bricks", kBricks, 0, 1, {0, 0, 1920, 540}},
    };
    for (const Case& c : cases) EXPECT_EQ(span_of(c.zones[c.a], c.zones[c.b], c.zones), c.want) << c.name;
}

TEST(ZoneSpan, ZoneOrSpanAndNearAFrame) {
    const std::vector<Rect> g8 = grid(8);
    struct Case { const char* name; std::vector<Rect> zones; Rect r; bool is; std::optional<Rect> near_frame; };
    const Case cases[] = {
        {"a zone", g8, g8[2], true, g8[2]},
        {"a span with its gaps", g8, {4, 4, 1276, 1076}, true, Rect{4, 4, 1276, 1076}},
        {"a span within the tolerance", g8, {0, 0, 1280, 540}, false, Rect{4, 4, 1276, 536}},
        {"cuts a zone in two", kBricks, {0, 0, 1280, 1080}, false, std::nullopt},
        {"part of a zone", g8, {4, 4, 300, 536}, false, std::nullopt},
        {"nothing", g8, {}, false, std::nullopt},
        {"the whole screen", kBricks, {0, 0, 1920, 1080}, true, Rect{0, 0, 1920, 1080}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(is_zone_or_span(c.r, c.zones), c.is) << c.name;
        EXPECT_EQ(zone_or_span_near(c.r, c.zones, 8), c.near_frame) << c.name;
    }
    EXPECT_EQ(span_text({4, 4, 1276, 1076}, g8), "span of zones 1, 2, 4, 5");
    EXPECT_EQ(span_text(g8[3], g8), "zone 4");
}

TEST(ZoneSpan, ExtendByTheNeighbouringZone) {
    const std::vector<Rect> g0 = grid(0), g8 = grid(8);
    const Rect top_row{0, 0, 1920, 540};
    // A tall zone on the left beside a short one above a long one, a stray far one.
    const std::vector<Rect> uneven{{0, 0, 600, 1080}, {700, 0, 1920, 300}, {700, 300, 1920, 1080},
                                   {1000, 2000, 1100, 2100}};
    struct Case { const char* name; std::vector<Rect> zones; Rect from; D d; std::optional<Rect> want; };
    const Case cases[] = {
        {"right from the first zone", g0, g0[0], D::Right, box(g0, 0, 1)},
        {"down from the first zone", g0, g0[0], D::Down, box(g0, 0, 3)},
        {"down from a span takes the row below it", g0, box(g0, 0, 1), D::Down, box(g0, 0, 4)},
        {"left edge of the screen", g0, g0[0], D::Left, std::nullopt},
        {"up edge of the screen", g0, g0[1], D::Up, std::nullopt},
        {"a full row cannot go right", g0, top_row, D::Right, std::nullopt},
        {"across a gap", g8, g8[4], D::Left, Rect{4, 544, 1276, 1076}},
        {"up across a gap", g8, g8[4], D::Up, Rect{644, 4, 1276, 1076}},
        {"larger overlap wins among equally near zones", uneven, uneven[0], D::Right, Rect{0, 0, 1920, 1080}},
        {"the zone beyond the edge, not behind it", uneven, uneven[2], D::Left, Rect{0, 0, 1920, 1080}},
        {"no overlap across the direction", uneven, uneven[3], D::Left, std::nullopt},
        {"up to a zone overlapping it across", uneven, uneven[3], D::Up, Rect{700, 300, 1920, 2100}},
    };
    for (const Case& c : cases) EXPECT_EQ(extend_span(c.from, c.zones, c.d), c.want) << c.name;
}

}  // namespace
}  // namespace tw
