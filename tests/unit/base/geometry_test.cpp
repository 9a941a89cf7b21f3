#include <gtest/gtest.h>

#include "core/base/geometry.h"

namespace tw {
namespace {

TEST(Geometry, RightAndBottomEdgesAreExclusive) {
    struct Case { Point p; bool inside; };
    const Rect r{0, 0, 10, 20};
    for (auto [p, inside] : {Case{{0, 0}, true}, Case{{9, 19}, true}, Case{{10, 5}, false},
                             Case{{5, 20}, false}, Case{{-1, 5}, false}}) {
        EXPECT_EQ(contains(r, p), inside) << p.x << "," << p.y;
    }
}

TEST(Geometry, CentreTruncatesTowardZero) {
    EXPECT_EQ(centre(Rect{-3, -3, 0, 0}), (Point{-1, -1}));
    EXPECT_EQ(centre(Rect{0, 0, 5, 5}), (Point{2, 2}));
    EXPECT_EQ(centre(Rect{INT32_MAX - 1, 0, INT32_MAX, 2}), (Point{INT32_MAX - 1, 1}));
}

TEST(Geometry, NearIsInclusive) {
    EXPECT_TRUE(near({0, 0, 100, 100}, {2, -2, 102, 98}, 2));
    EXPECT_FALSE(near({0, 0, 100, 100}, {3, 0, 100, 100}, 2));
}

TEST(Geometry, CoversWithinTwoPixels) {
    const Rect work{0, 0, 1920, 1040};
    EXPECT_TRUE(covers({-8, -8, 1928, 1048}, work));
    EXPECT_TRUE(covers({2, 2, 1918, 1038}, work));
    EXPECT_FALSE(covers({3, 0, 1920, 1040}, work));
}

TEST(Geometry, ZoneAtPointPrefersContainingThenNearestCentreThenEarlier) {
    const std::vector<Rect> zones{{0, 0, 100, 100}, {110, 0, 210, 100}};
    EXPECT_EQ(zone_at_point({50, 50}, zones), zones[0]);
    EXPECT_EQ(zone_at_point({150, 50}, zones), zones[1]);
    EXPECT_EQ(zone_at_point({104, 50}, zones), zones[0]);  // gap, equal distance: first
    EXPECT_EQ(zone_at_point({106, 50}, zones), zones[1]);
    EXPECT_FALSE(zone_at_point({0, 0}, {}).has_value());
    // Zones left empty (nothing of them on the screen) are never chosen.
    const std::vector<Rect> with_empty{{1000, 0, 1000, 100}, {0, 0, 100, 100}, {200, 50, 100, 60}};
    EXPECT_EQ(zone_at_point({999, 50}, with_empty), with_empty[1]);
    EXPECT_EQ(zone_at_point({150, 55}, with_empty), with_empty[1]);
    EXPECT_FALSE(zone_at_point({5, 5}, {{0, 0, 0, 10}, {10, 10, 5, 5}}).has_value());
}

TEST(Geometry, ClipToKeepsTheInsideAndEmptiesTheRest) {
    const Rect b{100, 0, 300, 200};
    struct Case { Rect r; Rect clipped; bool empty; };
    const Case cases[] = {
        {{150, 50, 250, 150}, {150, 50, 250, 150}, false},
        {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, b, false},
        {{0, -50, 200, 100}, {100, 0, 200, 100}, false},
        {{400, 0, 500, 200}, {300, 0, 300, 200}, true},   // right of it: on its right edge
        {{0, 0, 50, 200}, {100, 0, 100, 200}, true},      // left of it: on its left edge
        {{250, 0, 150, 200}, {250, 0, 250, 200}, true},   // inverted
        {{100, 0, 300, 200}, b, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(clip_to(c.r, b), c.clipped) << rect_text(c.r);
        EXPECT_EQ(is_empty(clip_to(c.r, b)), c.empty) << rect_text(c.r);
    }
}

// Zones come from fractions in a file the user can edit: they may lie anywhere in the
// 32-bit range, and no sum or difference of their coordinates may wrap around.
TEST(Geometry, ExtremeRectanglesDoNotOverflow) {
    constexpr int32_t lo = INT32_MIN, hi = INT32_MAX;
    struct Case { const char* what; Point p; std::vector<Rect> zones; size_t nearest; };
    const Case cases[] = {
        {"far zone at the other end of the x range", {lo, 0},
         {{hi - 10, 0, hi, 10}, {lo + 100, 0, lo + 200, 10}}, 1},
        {"far zone at the other corner", {lo, lo},
         {{hi - 10, hi - 10, hi, hi}, {lo + 100, lo + 100, lo + 200, lo + 200}}, 1},
        {"both squares near the limit, the smaller sum first", {hi, hi},
         {{lo, lo, lo + 2, lo + 2}, {lo, lo, lo + 4, lo + 4}}, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(zone_at_point(c.p, c.zones), c.zones[c.nearest]) << c.what;

    struct Size { Rect r; int32_t width, height; };
    for (auto [r, width, height] : {Size{{lo, lo, hi, hi}, hi, hi}, Size{{hi, hi, lo, lo}, lo, lo},
                                    Size{{-5, 7, 5, 3}, 10, -4}}) {
        EXPECT_EQ(r.width(), width) << rect_text(r);
        EXPECT_EQ(r.height(), height) << rect_text(r);
    }
}

TEST(Geometry, RectTexts) {
    EXPECT_EQ(rect_text({1, -2, 3, 4}), "[1,-2,3,4]");
    EXPECT_EQ(rect_struct_text({1, 2, 3, 4}), "RECT { left: 1, top: 2, right: 3, bottom: 4 }");
    EXPECT_EQ(rect_list_text({}), "[]");
    EXPECT_EQ(rect_list_text({{0, 0, 1, 1}, {1, 1, 2, 2}}),
              "[RECT { left: 0, top: 0, right: 1, bottom: 1 }, RECT { left: 1, top: 1, right: 2, bottom: 2 }]");
}

}  // namespace
}  // namespace tw
