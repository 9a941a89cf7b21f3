#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "core/model/grid.h"
#include "support/grid_print.h"

namespace tw {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

using test::make_grid;

std::vector<Zone> columns_of(size_t n) {
    std::vector<Zone> zones;
    for (size_t i = 0; i < n; ++i)
        zones.push_back({static_cast<double>(i) / n, 0, static_cast<double>(i + 1) / n, 1});
    return zones;
}

TEST(Grid, FromZones) {
    struct Case {
        const char* name;
        std::vector<Zone> zones;
        std::optional<Grid> expected;
    };
    const Grid halves = make_grid({1}, {0.5, 0.5}, {{0, 1, 0, 1}, {0, 1, 1, 2}});
    const Case cases[] = {
        {"two halves", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}, halves},
        {"stored right to left is renumbered", {{0.5, 0, 1, 1}, {0, 0, 0.5, 1}}, halves},
        {"stored bottom first is renumbered", {{0, 0.5, 1, 1}, {0, 0, 1, 0.5}},
         make_grid({0.5, 0.5}, {1}, {{0, 1, 0, 1}, {1, 2, 0, 1}})},
        {"edges 5e-7 apart touch", {{0, 0, 0.5, 1}, {0.5000005, 0, 1, 1}}, halves},
        {"edges 9e-7 apart touch", {{0, 0, 0.5, 1}, {0.5000009, 0, 1, 1}}, halves},
        {"gap of 1e-5 leaves a hole", {{0, 0, 0.5, 1}, {0.50001, 0, 1, 1}}, std::nullopt},
        {"gap of 2e-6 leaves a hole", {{0, 0, 0.5, 1}, {0.500002, 0, 1, 1}}, std::nullopt},
        {"overlap", {{0, 0, 0.6, 1}, {0.4, 0, 1, 1}}, std::nullopt},
        {"identical zones overlap", {{0, 0, 1, 1}, {0, 0, 1, 1}}, std::nullopt},
        {"hole in a corner", {{0, 0, 0.5, 0.5}, {0.5, 0, 1, 1}, {0, 0.5, 0.5, 0.5}}, std::nullopt},
        {"missing quarter", {{0, 0, 0.5, 0.5}, {0.5, 0, 1, 0.5}, {0, 0.5, 0.5, 1}}, std::nullopt},
        {"zero width zone", {{0, 0, 1, 1}, {0.5, 0, 0.5, 1}}, std::nullopt},
        {"inverted zone", {{1, 0, 0, 1}}, std::nullopt},
        {"single point", {{0.5, 0.5, 0.5, 0.5}}, std::nullopt},
        {"empty", {}, std::nullopt},
        {"NaN left", {{kNaN, 0, 1, 1}}, std::nullopt},
        {"NaN bottom", {{0, 0, 1, kNaN}}, std::nullopt},
        {"infinite right", {{0, 0, kInf, 1}}, std::nullopt},
        {"minus infinite top", {{0, -kInf, 1, 1}}, std::nullopt},
        {"spanning cell", {{0.5, 0.5, 1, 1}, {0, 0, 0.5, 1}, {0.5, 0, 1, 0.5}},
         make_grid({0.5, 0.5}, {0.5, 0.5}, {{0, 2, 0, 1}, {0, 1, 1, 2}, {1, 2, 1, 2}})},
        {"need not start at the origin", {{0.1, 0.2, 0.5, 0.9}},
         make_grid({0.9 - 0.2}, {0.5 - 0.1}, {{0, 1, 0, 1}}, 0.1, 0.2)},
        {"65 zones", columns_of(65), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(grid_from_zones(c.zones), c.expected) << c.name;

    std::optional<Grid> most = grid_from_zones(columns_of(64));
    ASSERT_TRUE(most.has_value());
    EXPECT_EQ(most->columns, 64u);
    EXPECT_EQ(most->cells.size(), 64u);
}

TEST(Grid, SizesFromZones) {
    struct Case {
        const char* name;
        std::vector<Zone> zones;
        std::optional<GridSizes> expected;
    };
    const Case cases[] = {
        {"two halves", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}, GridSizes{{1}, {0.5, 0.5}}},
        {"thirds as stored", {{0, 0, 0.3333333333333333, 1}, {0.3333333333333333, 0, 0.6666666666666666, 1},
                              {0.6666666666666666, 0, 1, 1}},
         GridSizes{{1}, {0.3333333333333333, 0.3333333333333333, 0.33333333333333337}}},
        // Sizes do not need a tiling: the editor asks for them only once the zones
        // convert, but they are well defined for overlapping zones too.
        {"overlap", {{0, 0, 0.6, 1}, {0.4, 0, 1, 1}}, GridSizes{{1}, {0.4, 0.6 - 0.4, 1 - 0.6}}},
        {"close lines merge", {{0, 0, 0.5, 1}, {0.5000005, 0, 1, 1}}, GridSizes{{1}, {0.5, 0.5}}},
        {"single point", {{0.5, 0.5, 0.5, 0.5}}, std::nullopt},
        {"no height", {{0, 0.5, 1, 0.5}}, std::nullopt},
        {"empty", {}, std::nullopt},
        {"NaN", {{0, 0, kNaN, 1}}, std::nullopt},
        {"infinity", {{0, 0, 1, kInf}}, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(grid_sizes_from_zones(c.zones), c.expected) << c.name;
}

TEST(Grid, ZonesFromGrid) {
    struct Case {
        const char* name;
        std::vector<GridCell> cells;
        std::vector<double> heights, widths;
        std::vector<Zone> expected;
    };
    const Case cases[] = {
        {"cell order kept", {{0, 1, 1, 2}, {0, 1, 0, 1}}, {1}, {0.5, 0.5}, {{0.5, 0, 1, 1}, {0, 0, 0.5, 1}}},
        {"spanning cell", {{0, 2, 0, 1}, {0, 1, 1, 2}, {1, 2, 1, 2}}, {0.25, 0.75}, {0.5, 0.5},
         {{0, 0, 0.5, 1}, {0.5, 0, 1, 0.25}, {0.5, 0.25, 1, 1}}},
        {"sizes need not sum to one", {{0, 1, 0, 2}}, {0.5}, {0.25, 0.25}, {{0, 0, 0.5, 0.5}}},
        {"line past the last is left out", {{0, 1, 0, 1}, {0, 1, 1, 3}, {0, 2, 0, 1}, {0, 1, 1, 2}},
         {1}, {0.5, 0.5}, {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}},
        {"no cells", {}, {1}, {1}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(zones_from_grid(c.cells, c.heights, c.widths), c.expected) << c.name;
}

TEST(Grid, Uniform) {
    struct Case {
        uint32_t rows, columns;
        Grid expected;
    };
    const double third = 1.0 / 3;
    const Case cases[] = {
        {1, 3, make_grid({1}, {third, third, third}, {{0, 1, 0, 1}, {0, 1, 1, 2}, {0, 1, 2, 3}})},
        {2, 2, make_grid({0.5, 0.5}, {0.5, 0.5}, {{0, 1, 0, 1}, {0, 1, 1, 2}, {1, 2, 0, 1}, {1, 2, 1, 2}})},
        {1, 1, make_grid({1}, {1}, {{0, 1, 0, 1}})},
        {0, 0, make_grid({1}, {1}, {{0, 1, 0, 1}})},
        {0, 2, make_grid({1}, {0.5, 0.5}, {{0, 1, 0, 1}, {0, 1, 1, 2}})},
        // Never more than the steppers offer: 81 zones could not be opened again, and a
        // huge count would exhaust the memory.
        {9, 1, uniform_grid(6, 1)},
        {2, 4000000000u, uniform_grid(2, 6)},
    };
    for (const Case& c : cases) EXPECT_EQ(uniform_grid(c.rows, c.columns), c.expected) << c.rows << "x" << c.columns;
    EXPECT_EQ(uniform_grid(9, 9).cells.size(), 36u);
    EXPECT_EQ(uniform_grid(1, 3).column_widths[0], 0.3333333333333333);
}

TEST(Grid, Split) {
    struct Case {
        const char* name;
        Grid grid;
        size_t index;
        bool horizontal;
        std::optional<Grid> expected;  // none: unchanged
    };
    const Grid halves = make_grid({1}, {0.5, 0.5}, {{0, 1, 0, 1}, {0, 1, 1, 2}});
    const Grid quarters = make_grid({1}, {0.25, 0.25, 0.5}, {{0, 1, 0, 2}, {0, 1, 2, 3}});
    // Two rows on the left, one cell spanning both on the right, in reading order.
    const Grid shared_row = make_grid({0.5, 0.5}, {0.5, 0.5}, {{0, 1, 0, 1}, {0, 2, 1, 2}, {1, 2, 0, 1}});
    const Case cases[] = {
        {"width 0.05 is too narrow", make_grid({1}, {0.05}, {{0, 1, 0, 1}}), 0, false, std::nullopt},
        {"width 0.06 gives two of 0.03", make_grid({1}, {0.06}, {{0, 1, 0, 1}}), 0, false,
         make_grid({1}, {0.03, 0.03}, {{0, 1, 0, 1}, {0, 1, 1, 2}})},
        {"height 0.05 is too low", make_grid({0.05}, {1}, {{0, 1, 0, 1}}), 0, true, std::nullopt},
        {"a narrow cell still splits horizontally", make_grid({1}, {0.05}, {{0, 1, 0, 1}}), 0, true,
         make_grid({0.5, 0.5}, {0.05}, {{0, 1, 0, 1}, {1, 2, 0, 1}})},
        {"left of 50/50", halves, 0, false,
         make_grid({1}, {0.25, 0.25, 0.5}, {{0, 1, 0, 1}, {0, 1, 1, 2}, {0, 1, 2, 3}})},
        {"right of 50/50", halves, 1, false,
         make_grid({1}, {0.5, 0.25, 0.25}, {{0, 1, 0, 1}, {0, 1, 1, 2}, {0, 1, 2, 3}})},
        {"spanning cell uses the existing line", quarters, 0, false,
         make_grid({1}, {0.25, 0.25, 0.5}, {{0, 1, 0, 1}, {0, 1, 1, 2}, {0, 1, 2, 3}})},
        {"spanning cell takes the line nearest its middle",
         make_grid({1}, {0.1, 0.2, 0.3, 0.4}, {{0, 1, 0, 4}}), 0, false,
         make_grid({1}, {0.1, 0.2, 0.3, 0.4}, {{0, 1, 0, 3}, {0, 1, 3, 4}})},
        {"equally near lines: the leftmost wins",
         make_grid({1}, {0.25, 0.25, 0.25, 0.25}, {{0, 1, 0, 3}, {0, 1, 3, 4}}), 0, false,
         make_grid({1}, {0.25, 0.25, 0.25, 0.25}, {{0, 1, 0, 1}, {0, 1, 1, 3}, {0, 1, 3, 4}})},
        {"horizontal split keeps a spanning neighbour's size", shared_row, 0, true,
         make_grid({0.25, 0.25, 0.5}, {0.5, 0.5}, {{0, 1, 0, 1}, {1, 2, 0, 1}, {0, 3, 1, 2}, {2, 3, 0, 1}})},
        {"vertical split of a cell in a two-row grid", shared_row, 2, false,
         make_grid({0.5, 0.5}, {0.25, 0.25, 0.5}, {{0, 1, 0, 2}, {0, 2, 2, 3}, {1, 2, 0, 1}, {1, 2, 1, 2}})},
        {"index past the end", halves, 2, false, std::nullopt},
        {"huge index", halves, static_cast<size_t>(-1), true, std::nullopt},
        {"a grid of 64 zones takes no more", *grid_from_zones(columns_of(64)), 0, false, std::nullopt},
        {"a cell outside its grid", make_grid({1}, {1}, {{0, 1, 0, 2}}), 0, false, std::nullopt},
        {"an empty cell", make_grid({1}, {1}, {{0, 1, 1, 1}}), 0, false, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(split_cell(c.grid, c.index, c.horizontal), c.expected.value_or(c.grid)) << c.name;
}

TEST(Grid, Merge) {
    struct Case {
        const char* name;
        Grid grid;
        size_t first, second;
        std::optional<Grid> expected;  // none: unchanged
    };
    const Grid halves = make_grid({1}, {0.5, 0.5}, {{0, 1, 0, 1}, {0, 1, 1, 2}});
    const Grid four = uniform_grid(2, 2);
    const Grid unequal = make_grid({0.5, 0.5}, {0.5, 0.5}, {{0, 2, 0, 1}, {0, 1, 1, 2}, {1, 2, 1, 2}});
    const Case cases[] = {
        {"side by side", halves, 0, 1, make_grid({1}, {0.5, 0.5}, {{0, 1, 0, 2}})},
        {"order of the two does not matter", halves, 1, 0, make_grid({1}, {0.5, 0.5}, {{0, 1, 0, 2}})},
        {"stacked", uniform_grid(2, 1), 0, 1, make_grid({0.5, 0.5}, {1}, {{0, 2, 0, 1}})},
        {"right column joins and the cells are renumbered", four, 1, 3,
         make_grid({0.5, 0.5}, {0.5, 0.5}, {{0, 1, 0, 1}, {0, 2, 1, 2}, {1, 2, 0, 1}})},
        {"bottom row joins", four, 3, 2,
         make_grid({0.5, 0.5}, {0.5, 0.5}, {{0, 1, 0, 1}, {0, 1, 1, 2}, {1, 2, 0, 2}})},
        {"diagonal neighbours", four, 0, 3, std::nullopt},
        {"different heights side by side", unequal, 0, 1, std::nullopt},
        {"not adjacent", uniform_grid(1, 3), 0, 2, std::nullopt},
        {"same cell twice", halves, 0, 0, std::nullopt},
        {"index past the end", halves, 0, 2, std::nullopt},
        {"huge index", halves, static_cast<size_t>(-1), 0, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(merge_cells(c.grid, c.first, c.second), c.expected.value_or(c.grid)) << c.name;
}

TEST(Grid, SplitThenMergeRestoresTheZones) {
    const Grid start = uniform_grid(1, 1);
    for (bool horizontal : {false, true}) {
        Grid split = split_cell(start, 0, horizontal);
        ASSERT_EQ(split.cells.size(), 2u);
        Grid merged = merge_cells(split, 0, 1);
        EXPECT_EQ(zones_from_grid(merged), (std::vector<Zone>{{0, 0, 1, 1}}));
        EXPECT_EQ(merged.cells.size(), 1u);
        // The line added by the split stays in the grid.
        EXPECT_EQ(horizontal ? merged.rows : merged.columns, 2u);
    }
}

TEST(Grid, TemplatesFromLayouts) {
    const std::vector<Layout> defaults = {
        {"50% | 50%", {{0.0, 0.0, 0.5, 1.0}, {0.5, 0.0, 1.0, 1.0}}},
        {"33% | 33% | 33%",
         {{0.0, 0.0, 0.3333333333333333, 1.0},
          {0.3333333333333333, 0.0, 0.6666666666666666, 1.0},
          {0.6666666666666666, 0.0, 1.0, 1.0}}},
        {"25% | 50% | 25%", {{0.0, 0.0, 0.25, 1.0}, {0.25, 0.0, 0.75, 1.0}, {0.75, 0.0, 1.0, 1.0}}},
        {"100%", {{0.0, 0.0, 1.0, 1.0}}},
    };
    struct Case {
        const char* catalog_key;
        const char* layout_name;
        std::vector<double> widths;
    };
    const Case cases[] = {
        {"edit.template_25_50_25", "25% | 50% | 25%", {0.25, 0.5, 0.25}},
        {"edit.template_50_50", "50% | 50%", {0.5, 0.5}},
        {"edit.template_33_33_33", "33% | 33% | 33%", {0.3333333333333333, 0.3333333333333333, 0.33333333333333337}},
        {"edit.template_100", "100%", {1.0}},
    };
    ASSERT_EQ(grid_templates().size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(grid_templates()[i].catalog_key, c.catalog_key);
        EXPECT_EQ(grid_templates()[i].layout_name, c.layout_name);
        std::optional<Grid> g = template_grid(c.layout_name, defaults);
        ASSERT_TRUE(g.has_value()) << c.layout_name;
        EXPECT_EQ(g->rows, 1u);
        EXPECT_EQ(g->row_heights, std::vector<double>{1.0});
        EXPECT_EQ(g->column_widths, c.widths) << c.layout_name;  // exact, not within a tolerance
        EXPECT_EQ(g->cells.size(), c.widths.size());
    }
    EXPECT_FALSE(template_grid("75% | 25%", defaults).has_value());
    EXPECT_FALSE(template_grid("100%", {}).has_value());
}

// ---- Invariants over random edit sequences -------------------------------------

double overlap_area(const Zone& a, const Zone& b) {
    const double w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const double h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return (w > 0 && h > 0) ? w * h : 0.0;
}

// The zones lie inside the unit square, do not overlap and cover all of it.
::testing::AssertionResult tiles_unit_square(const std::vector<Zone>& zones) {
    constexpr double tol = 1e-6;
    double area = 0;
    for (size_t i = 0; i < zones.size(); ++i) {
        const Zone& z = zones[i];
        if (z.left < -tol || z.top < -tol || z.right > 1 + tol || z.bottom > 1 + tol || z.right <= z.left ||
            z.bottom <= z.top)
            return ::testing::AssertionFailure() << "zone " << i << " out of the square or empty";
        area += (z.right - z.left) * (z.bottom - z.top);
        for (size_t j = i + 1; j < zones.size(); ++j)
            if (overlap_area(z, zones[j]) > tol) return ::testing::AssertionFailure() << "zones " << i << ", " << j;
    }
    if (std::fabs(area - 1.0) > 1e-6) return ::testing::AssertionFailure() << "area " << area;
    return ::testing::AssertionSuccess();
}

bool same_zone(const Zone& a, const Zone& b) {
    return std::fabs(a.left - b.left) <= 1e-6 && std::fabs(a.top - b.top) <= 1e-6 &&
           std::fabs(a.right - b.right) <= 1e-6 && std::fabs(a.bottom - b.bottom) <= 1e-6;
}

TEST(Grid, RandomEditsKeepATiling) {
    std::mt19937 rng(20240611);
    size_t splits = 0, merges = 0;
    for (int round = 0; round < 300; ++round) {
        Grid g = uniform_grid(1 + rng() % 6, 1 + rng() % 6);
        for (int step = 0; step < 40; ++step) {
            const size_t n = g.cells.size();
            const Grid before = g;
            if (rng() % 2) {
                g = split_cell(g, rng() % (n + 1), rng() % 2);  // sometimes out of range
                splits += g.cells.size() > before.cells.size();
            } else {
                g = merge_cells(g, rng() % n, rng() % n);
                merges += g.cells.size() < before.cells.size();
            }
            ASSERT_LE(g.cells.size(), kMaxGridZones);
            ASSERT_EQ(g.row_heights.size(), g.rows);
            ASSERT_EQ(g.column_widths.size(), g.columns);
            const std::vector<Zone> zones = zones_from_grid(g);
            ASSERT_EQ(zones.size(), g.cells.size());
            ASSERT_TRUE(tiles_unit_square(zones)) << "round " << round << " step " << step;

            std::optional<Grid> back = grid_from_zones(zones);
            ASSERT_TRUE(back.has_value()) << "round " << round << " step " << step;
            const std::vector<Zone> again = zones_from_grid(*back);
            ASSERT_EQ(again.size(), zones.size());
            for (const Zone& z : zones)
                ASSERT_TRUE(std::any_of(again.begin(), again.end(), [&](const Zone& a) { return same_zone(a, z); }));
            // Zone order after a round trip is reading order.
            for (size_t i = 1; i < back->cells.size(); ++i) {
                const GridCell& p = back->cells[i - 1];
                const GridCell& q = back->cells[i];
                ASSERT_TRUE(p.first_row < q.first_row || (p.first_row == q.first_row && p.first_column < q.first_column));
            }
        }
    }
    // The sequences must actually have exercised both edits.
    EXPECT_GT(splits, 1000u);
    EXPECT_GT(merges, 500u);
}

}  // namespace
}  // namespace tw
