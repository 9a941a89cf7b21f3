#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "core/engine/overlay_geometry.h"
#include "support/region_raster.h"

namespace tw {
namespace {

using test::raster;

struct Pixel {
    int32_t x, y;
    bool on;
};

void expect_pixels(const RegionOps& ops, int32_t w, int32_t h, std::initializer_list<Pixel> pixels) {
    auto bmp = raster(ops, w, h);
    for (const Pixel& p : pixels) {
        EXPECT_EQ(bmp.at(p.x, p.y), p.on) << "pixel " << p.x << "," << p.y;
        // The region test and the painted bitmap agree.
        EXPECT_EQ(region_contains(ops, {p.x, p.y}), p.on) << "pixel " << p.x << "," << p.y;
    }
}

void expect_no_empty_rects(const RegionOps& ops) {
    for (const auto& op : ops) {
        EXPECT_LT(op.rect.left, op.rect.right) << rect_text(op.rect);
        EXPECT_LT(op.rect.top, op.rect.bottom) << rect_text(op.rect);
    }
}

const std::vector<Rect> kTwoColumns{{0, 0, 960, 1040}, {960, 0, 1920, 1040}};
const std::vector<Rect> kGrid2x2{{0, 0, 960, 520}, {960, 0, 1920, 520}, {0, 520, 960, 1040}, {960, 520, 1920, 1040}};

TEST(Outline, TwoColumnsDrawFrameAndOneCentredLine) {
    expect_pixels(outline_region(kTwoColumns), 1920, 1040,
                  {{0, 500, true},    {1, 500, true},    {2, 500, false},   {1917, 500, false},
                   {1918, 500, true}, {1919, 500, true}, {700, 0, true},    {700, 1, true},
                   {700, 2, false},   {700, 1037, false}, {700, 1038, true}, {700, 1039, true},
                   {958, 500, false}, {959, 500, true},  {960, 500, true},  {961, 500, false},
                   {959, 2, true},    {960, 1037, true}, {500, 500, false}});
    auto bmp = raster(outline_region(kTwoColumns), 1920, 1040);
    // Frame: 2 * (1920 + 1040) * 2 minus the four doubly counted 2x2 corners; line: 2 x 1036.
    EXPECT_EQ(bmp.count(), size_t(2 * 1920 * 2 + 2 * 1036 * 2 + 2 * 1036));
}

TEST(Outline, BordersBySeparation) {
    struct Case {
        const char* what;
        std::vector<Rect> zones;
        size_t line_ops;  // operations beyond the two of the outer frame
    };
    const Case cases[] = {
        {"shared edge", kTwoColumns, 1},
        {"edges 1 pixel apart still count as shared", {{0, 0, 959, 1040}, {960, 0, 1920, 1040}}, 1},
        {"a 2-pixel gap is no border", {{0, 0, 959, 1040}, {961, 0, 1920, 1040}}, 0},
        {"a 4-pixel gap is no border", {{0, 0, 958, 1040}, {962, 0, 1920, 1040}}, 0},
        {"order of the pair does not matter", {kTwoColumns[1], kTwoColumns[0]}, 1},
        {"2 x 2 grid: four halves, diagonals add nothing", kGrid2x2, 4},
        {"side by side without vertical overlap", {{0, 0, 100, 100}, {100, 100, 200, 200}}, 0},
        {"single zone", {{0, 0, 100, 100}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto ops = outline_region(c.zones);
        expect_no_empty_rects(ops);
        EXPECT_EQ(ops.size(), 2 + c.line_ops);
    }
}

TEST(Outline, FourPixelGapLeavesTheMiddleEmpty) {
    auto bmp = raster(outline_region({{0, 0, 958, 1040}, {962, 0, 1920, 1040}}), 1920, 1040);
    EXPECT_EQ(bmp.row(500, 950, 970), std::string(20, '.'));
}

TEST(Outline, GridLinesRunFullLength) {
    auto bmp = raster(outline_region(kGrid2x2), 1920, 1040);
    for (int32_t y = 0; y < 1040; ++y) ASSERT_TRUE(bmp.at(959, y) && bmp.at(960, y)) << y;
    for (int32_t x = 0; x < 1920; ++x) ASSERT_TRUE(bmp.at(x, 519) && bmp.at(x, 520)) << x;
    EXPECT_FALSE(bmp.at(958, 300));
    EXPECT_FALSE(bmp.at(300, 518));
    EXPECT_FALSE(bmp.at(300, 521));
}

TEST(Outline, NothingForNoZonesAndNothingForInvertedOnes) {
    EXPECT_TRUE(outline_region({}).empty());
    // A zone whose edges are swapped outlines nothing (GDI would have swapped them back).
    EXPECT_TRUE(outline_region({{500, 0, 100, 100}}).empty());
    // A zone left empty by the screen's edge neither widens the frame nor adds a line.
    EXPECT_EQ(outline_region({{0, 0, 960, 1040}, {1920, 0, 1920, 1040}, {960, 0, 1920, 1040}}),
              outline_region(kTwoColumns));
    // Narrower than the frame: the whole box is line.
    auto ops = outline_region({{10, 10, 13, 40}});
    expect_pixels(ops, 50, 50, {{10, 10, true}, {12, 39, true}, {11, 20, true}, {13, 20, false}});
}

TEST(Overlay, ShapeIsInWindowCoordinatesOfTheArea) {
    MonitorZones row{"S", {{1920, 40, 2880, 1080}, {2880, 40, 3840, 1080}}, {1920, 0, 3840, 1080},
                     {1920, 40, 3840, 1080}};
    auto shape = overlay_shape(row, {});
    EXPECT_EQ(shape.screen_id, "S");
    EXPECT_EQ(shape.window, (Rect{1920, 40, 3840, 1080}));
    EXPECT_EQ(shape.zones, kTwoColumns);
    EXPECT_EQ(shape.region, outline_region(kTwoColumns));
}

TEST(Overlay, SharedZoneLeavesAFourPixelBandFree) {
    MonitorZones row{"S", kTwoColumns, {0, 0, 1920, 1080}, {0, 0, 1920, 1040}};
    auto ops = overlay_shape(row, {0, 7}).region;  // 7 is past the zone count: ignored
    expect_no_empty_rects(ops);
    auto bmp = raster(ops, 1920, 1040);
    for (int32_t y = 0; y < 1040; ++y) {
        ASSERT_FALSE(bmp.at(0, y) || bmp.at(1, y)) << y;          // left frame of zone 1
        ASSERT_FALSE(bmp.at(959, y) || bmp.at(960, y)) << y;      // the shared line
    }
    for (int32_t x = 0; x < 962; ++x) ASSERT_FALSE(bmp.at(x, 0) || bmp.at(x, 1039)) << x;
    // Zone 2's own frame is untouched outside the band.
    expect_pixels(ops, 1920, 1040, {{962, 0, true}, {1919, 500, true}, {1500, 1039, true}, {961, 0, false}});
    // Without shares, the lines come back.
    EXPECT_TRUE(raster(overlay_shape(row, {}).region, 1920, 1040).at(959, 500));
}

TEST(Overlay, RingOfATinyZoneIsTheWholeGrownZone) {
    RegionOps ops{{{0, 0, 50, 50}, RegionMode::Or}};
    cut_share_rings(ops, {{20, 20, 23, 30}}, {0});
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[1], (RegionOp{{18, 18, 25, 32}, RegionMode::Diff}));
    // A zone big enough has four strips, exactly the ring.
    RegionOps big{{{0, 0, 50, 50}, RegionMode::Or}};
    cut_share_rings(big, {{10, 10, 40, 40}}, {0});
    auto bmp = raster(big, 50, 50);
    for (int32_t y = 0; y < 50; ++y)
        for (int32_t x = 0; x < 50; ++x) {
            const bool in_outer = x >= 8 && x < 42 && y >= 8 && y < 42;
            const bool in_inner = x >= 12 && x < 38 && y >= 12 && y < 38;
            ASSERT_EQ(bmp.at(x, y), !(in_outer && !in_inner)) << x << "," << y;
        }
}

TEST(DashedFrame, DashesGapsAndCorners) {
    auto ops = dashed_frame_region(100, 50, {0, 0, 100, 50}, {});
    expect_no_empty_rects(ops);
    expect_pixels(ops, 100, 50,
                  {// top edge: dashes [0,24) [36,60) [72,96), corner [98,100)
                   {0, 0, true}, {23, 1, true}, {24, 0, false}, {35, 0, false}, {36, 0, true},
                   {95, 0, true}, {96, 0, false}, {97, 1, false}, {98, 0, true}, {99, 1, true},
                   {23, 2, false},
                   // bottom edge mirrors the top
                   {23, 48, true}, {24, 49, false}, {36, 49, true}, {99, 49, true},
                   // left and right edges: [0,24) and [36,50)
                   {0, 23, true}, {1, 24, false}, {0, 35, false}, {0, 36, true}, {99, 30, false},
                   {98, 40, true}, {2, 10, false}, {50, 25, false}});
}

TEST(DashedFrame, NeighboursCutTheSharedStretch) {
    const Rect z{1000, 100, 1100, 150};  // 100 x 50
    struct Case {
        const char* what;
        Rect neighbour;
        std::vector<Pixel> pixels;
    };
    const std::vector<Case> cases = {
        {"right neighbour, full height", {1100, 100, 1200, 150},
         {{99, 0, false}, {98, 49, false}, {99, 40, false}, {97, 0, false}, {95, 0, true}, {0, 0, true}}},
        {"left neighbour, 1 pixel apart, part of the height", {900, 130, 999, 145},
         {{0, 36, false}, {1, 44, false}, {0, 45, true}, {0, 23, true}, {99, 40, true}}},
        {"neighbour below, part of the width", {1050, 151, 1150, 200},
         {{72, 49, false}, {50, 48, false}, {49, 49, true}, {23, 49, true}, {99, 49, false}, {99, 45, true}}},
        {"neighbour above", {1000, 0, 1030, 101},
         {{10, 0, false}, {29, 1, false}, {36, 0, true}, {0, 10, true}}},
        {"diagonal neighbour cuts nothing", {1100, 150, 1200, 200},
         {{99, 49, true}, {98, 48, true}, {99, 40, true}}},
        {"neighbour 2 pixels away cuts nothing", {1102, 100, 1200, 150}, {{99, 0, true}, {99, 40, true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto ops = dashed_frame_region(100, 50, z, {c.neighbour});
        expect_no_empty_rects(ops);
        auto bmp = raster(ops, 100, 50);
        for (const Pixel& p : c.pixels) EXPECT_EQ(bmp.at(p.x, p.y), p.on) << p.x << "," << p.y;
    }
}

TEST(DashedFrame, TinyAndAbsurdSizes) {
    // A 1 x 1 frame (the smallest window) is fully drawn, and a right neighbour of a
    // 2-pixel-wide zone cuts from x = 0.
    auto one = dashed_frame_region(0, -5, {0, 0, 0, 0}, {});
    EXPECT_TRUE(raster(one, 1, 1).at(0, 0));
    auto narrow = dashed_frame_region(2, 50, {0, 0, 2, 50}, {{2, 0, 10, 50}});
    EXPECT_EQ(raster(narrow, 2, 50).count(), 0u);
    EXPECT_EQ(narrow.back(), (RegionOp{{0, 0, 2, 50}, RegionMode::Diff}));
    auto left_cut = dashed_frame_region(100, 50, {0, 0, 100, 50}, {{-10, 0, 0, 50}});
    EXPECT_EQ(left_cut.back(), (RegionOp{{0, 0, 2, 50}, RegionMode::Diff}));
    // A zone from a hand-edited file with an absurd size yields a bounded list.
    const int32_t big = std::numeric_limits<int32_t>::max();
    auto ops = dashed_frame_region(big, big, {0, 0, big, big}, {});
    expect_no_empty_rects(ops);
    EXPECT_LE(ops.size(), size_t(4 * (kMaxDashedExtent / kDashPeriod + 1) + 4));
}

TEST(ShareFrames, HigherIndexLeavesOutTheCommonBorder) {
    const std::vector<Rect> zones{{0, 0, 960, 1040}, {960, 0, 1920, 1040}, {0, 0, 0, 0}};
    auto frames = share_frame_shapes(zones, {5, 1, 0, 1, 2});
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].zone_index, 0u);
    EXPECT_EQ(frames[1].zone_index, 1u);
    EXPECT_EQ(frames[2].zone_index, 2u);
    EXPECT_EQ(frames[0].region, dashed_frame_region(960, 1040, zones[0], {}));
    EXPECT_EQ(frames[1].region, dashed_frame_region(960, 1040, zones[1], {zones[0]}));
    auto left = raster(frames[0].region, 960, 1040);
    auto right = raster(frames[1].region, 960, 1040);
    EXPECT_TRUE(left.at(959, 0));  // the left frame draws the border...
    for (int32_t y = 0; y < 1040; ++y) ASSERT_FALSE(right.at(0, y) || right.at(1, y)) << y;  // ...once
    EXPECT_TRUE(right.at(959, 0));
    // An empty zone still gets a 1 x 1 frame window.
    EXPECT_EQ(frames[2].width, 1);
    EXPECT_EQ(frames[2].height, 1);
    EXPECT_TRUE(share_frame_shapes(zones, {}).empty());
}

// Random grids: columns and rows with random split positions, cells as zones, some of
// them merged across a row, on a random area.
std::vector<Rect> random_grid(std::mt19937& rng, int32_t w, int32_t h) {
    auto splits = [&](int32_t extent) {
        std::uniform_int_distribution<int> count(1, 4);
        std::vector<int32_t> s{0, extent};
        for (int i = count(rng); i > 1; --i) s.push_back(std::uniform_int_distribution<int32_t>(8, extent - 8)(rng));
        std::sort(s.begin(), s.end());
        s.erase(std::unique(s.begin(), s.end()), s.end());
        return s;
    };
    auto xs = splits(w), ys = splits(h);
    std::vector<Rect> zones;
    for (size_t r = 0; r + 1 < ys.size(); ++r)
        for (size_t c = 0; c + 1 < xs.size(); ++c) {
            if (c + 2 < xs.size() && rng() % 4 == 0) {  // merge with the next column
                zones.push_back({xs[c], ys[r], xs[c + 2], ys[r + 1]});
                ++c;
            } else {
                zones.push_back({xs[c], ys[r], xs[c + 1], ys[r + 1]});
            }
        }
    std::shuffle(zones.begin(), zones.end(), rng);
    return zones;
}

TEST(OutlineInvariant, RandomGrids) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 300; ++round) {
        const int32_t w = std::uniform_int_distribution<int32_t>(40, 320)(rng);
        const int32_t h = std::uniform_int_distribution<int32_t>(40, 240)(rng);
        auto zones = random_grid(rng, w, h);
        SCOPED_TRACE(rect_list_text(zones));
        auto ops = outline_region(zones);
        expect_no_empty_rects(ops);
        const Rect box = bounding_box(zones);
        auto bmp = raster(ops, w + 4, h + 4);
        for (int32_t y = 0; y < h + 4; ++y)
            for (int32_t x = 0; x < w + 4; ++x)
                ASSERT_TRUE(!bmp.at(x, y) || contains(box, {x, y})) << x << "," << y;
        // Every edge two zones share is covered on both sides of the border.
        for (const Rect& a : zones)
            for (const Rect& b : zones) {
                if (b.left == a.right) {
                    for (int32_t y = std::max(a.top, b.top); y < std::min(a.bottom, b.bottom); ++y)
                        ASSERT_TRUE(bmp.at(a.right - 1, y) && bmp.at(a.right, y)) << a.right << "," << y;
                }
                if (b.top == a.bottom) {
                    for (int32_t x = std::max(a.left, b.left); x < std::min(a.right, b.right); ++x)
                        ASSERT_TRUE(bmp.at(x, a.bottom - 1) && bmp.at(x, a.bottom)) << x << "," << a.bottom;
                }
            }
        // Away from every zone edge nothing is drawn: no fills.
        for (const Rect& z : zones)
            for (int32_t y = z.top + 2; y < z.bottom - 2; ++y)
                for (int32_t x = z.left + 2; x < z.right - 2; ++x) ASSERT_FALSE(bmp.at(x, y)) << x << "," << y;
        // Cutting the rings of a random subset leaves each shared zone's band free.
        std::vector<size_t> shared;
        for (size_t i = 0; i < zones.size(); ++i)
            if (rng() % 3 == 0) shared.push_back(i);
        cut_share_rings(ops, zones, shared);
        expect_no_empty_rects(ops);
        auto cut = raster(ops, w + 4, h + 4);
        for (size_t i : shared) {
            const Rect& z = zones[i];
            for (int32_t y = z.top - 2; y < z.bottom + 2; ++y)
                for (int32_t x = z.left - 2; x < z.right + 2; ++x) {
                    const bool inner = x >= z.left + 2 && x < z.right - 2 && y >= z.top + 2 && y < z.bottom - 2;
                    ASSERT_FALSE(!inner && cut.at(x, y)) << x << "," << y;
                }
        }
    }
}

TEST(OutlineInvariant, ExtremeCoordinatesDoNotWrap) {
    const int32_t lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
    std::vector<Rect> zones{{lo, lo, 0, 0}, {0, lo, hi, 0}, {lo, 0, hi, hi}};
    auto ops = outline_region(zones);
    expect_no_empty_rects(ops);
    EXPECT_EQ(ops.size(), 2u + 3u);  // frame + one vertical and two horizontal borders
    cut_share_rings(ops, zones, {0, 1, 2});
    expect_no_empty_rects(ops);
    EXPECT_FALSE(region_contains(ops, {hi - 1, hi - 1}));
    EXPECT_EQ(to_window_coords({{lo, 0, 0, 1}}, {hi, 0, 0, 0}), (std::vector<Rect>{{lo, 0, -hi, 1}}));
}

}  // namespace
}  // namespace tw
