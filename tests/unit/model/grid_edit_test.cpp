// Opening any layout as a grid, and resizing tracks by the size table and by dragging
// a border.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "core/model/grid.h"
#include "support/grid_print.h"

namespace tw {
namespace {

using test::make_grid;

TEST(GridFit, LayoutsThatTileARectangleComeBackExactly) {
    const std::vector<std::vector<Zone>> cases = {
        {{0.1, 0, 0.5, 1}, {0.5, 0, 0.9, 1}},  // margins left and right
        {{0.05, 0.1, 0.95, 0.5}, {0.05, 0.5, 0.5, 0.9}, {0.5, 0.5, 0.95, 0.9}},
        {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}},
        {{-0.1, 0, 0.5, 1}, {0.5, 0, 1.1, 1}},  // beyond the screen's edges, as stored
    };
    for (const auto& zones : cases) {
        const GridFit fit = fit_grid(zones);
        EXPECT_TRUE(fit.exact);
        EXPECT_TRUE(test::zones_near(zones_from_grid(fit.grid), zones));
    }
}

TEST(GridFit, OtherLayoutsOpenAsTheNearestGrid) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        std::vector<Zone> zones;
        std::vector<Zone> reshaped;
    };
    std::vector<Zone> seventy;
    for (int i = 0; i < 70; ++i) seventy.push_back({i / 70.0, 0, (i + 1) / 70.0, 1});
    std::vector<Zone> first_64(seventy.begin(), seventy.begin() + 64);
    const Case cases[] = {
        {"a gutter joins the first zone", {{0, 0, 0.49, 1}, {0.51, 0, 1, 1}}, {{0, 0, 0.51, 1}, {0.51, 0, 1, 1}}},
        {"gutters both ways",
         {{0, 0, 0.49, 0.49}, {0.51, 0, 1, 0.49}, {0, 0.51, 0.49, 1}, {0.51, 0.51, 1, 1}},
         {{0, 0, 0.51, 0.51}, {0.51, 0, 1, 0.51}, {0, 0.51, 0.51, 1}, {0.51, 0.51, 1, 1}}},
        {"an overlap goes to the first zone", {{0, 0, 0.6, 1}, {0.4, 0, 1, 1}}, {{0, 0, 0.6, 1}, {0.6, 0, 1, 1}}},
        {"a zone inside another is dropped", {{0, 0, 1, 1}, {0, 0, 1, 1}}, {{0, 0, 1, 1}}},
        {"unusable zones are left out", {{0, 0, 0.5, 1}, {0.5, 0, kNaN, 1}, {0.5, 0, 0.5, 1}, {0.5, 0, 1, 1}},
         {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}},
        {"more than 64 zones keep the first 64", seventy, first_64},
        {"no zone at all", {}, {{0, 0, 1, 1}}},
        {"nothing usable: one column per zone", {{0, 0, kNaN, 1}, {1, 1, 0, 0}}, {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}},
        // The square left of the bottom zone is nearest the top-left zone, whose squares
        // then form an L: no grid, so one column per zone.
        {"an L shape", {{0, 0, 0.5, 0.5}, {0.5, 0, 1, 1}, {0.4, 0.9, 0.5, 1}},
         {{0, 0, 1 / 3.0, 1}, {1 / 3.0, 0, 2 / 3.0, 1}, {2 / 3.0, 0, 1, 1}}},
    };
    for (const Case& c : cases) {
        const GridFit fit = fit_grid(c.zones);
        EXPECT_FALSE(fit.exact) << c.name;
        EXPECT_TRUE(test::zones_near(zones_from_grid(fit.grid), c.reshaped)) << c.name;
        // What opens can be saved and opened again unchanged.
        EXPECT_TRUE(fit_grid(zones_from_grid(fit.grid)).exact) << c.name;
    }
}

TEST(GridTracks, ResizeCellKeepsTheTotalAndRefusesCollapse) {
    const Grid halves = make_grid({1}, {0.5, 0.5}, {{0, 1, 0, 1}, {0, 1, 1, 2}});
    const Grid thirds = uniform_grid(1, 3);
    // Zone 1 spans the first two of four columns; zone 2 the other two.
    const Grid spans = make_grid({1}, {0.25, 0.25, 0.25, 0.25}, {{0, 1, 0, 2}, {0, 1, 2, 4}});
    const Grid margins = make_grid({1}, {0.4, 0.4}, {{0, 1, 0, 1}, {0, 1, 1, 2}}, 0.1, 0);
    struct Case {
        const char* name;
        Grid grid;
        size_t cell;
        GridAxis axis;
        double size;
        std::optional<std::vector<double>> sizes;  // none: refused
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"first of two columns", halves, 0, GridAxis::Columns, 0.25, std::vector<double>{0.25, 0.75}},
        {"the tracks after are scaled, those before kept", thirds, 1, GridAxis::Columns, 0.5,
         std::vector<double>{1 / 3.0, 0.5, 1 / 6.0}},
        {"the last zone takes from the tracks before it", halves, 1, GridAxis::Columns, 0.25,
         std::vector<double>{0.75, 0.25}},
        {"a zone of two columns gets the whole size", spans, 0, GridAxis::Columns, 0.6,
         std::vector<double>{0.3, 0.3, 0.2, 0.2}},
        {"a layout with margins keeps them", margins, 0, GridAxis::Columns, 0.2, std::vector<double>{0.2, 0.6}},
        {"the only row fills the axis", halves, 0, GridAxis::Rows, 0.5, std::nullopt},
        {"120 %", halves, 0, GridAxis::Columns, 1.2, std::nullopt},
        {"all of the width leaves nothing after it", halves, 0, GridAxis::Columns, 1.0, std::nullopt},
        {"zero", halves, 0, GridAxis::Columns, 0, std::nullopt},
        {"negative", halves, 0, GridAxis::Columns, -0.25, std::nullopt},
        {"not a number", halves, 0, GridAxis::Columns, std::nan(""), std::nullopt},
        {"infinite", halves, 0, GridAxis::Columns, inf, std::nullopt},
        {"no such cell", halves, 2, GridAxis::Columns, 0.25, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<Grid> got = resize_cell(c.grid, c.cell, c.axis, c.size);
        ASSERT_EQ(got.has_value(), c.sizes.has_value()) << c.name;
        if (!got) continue;
        const std::vector<double>& sizes = c.axis == GridAxis::Columns ? got->column_widths : got->row_heights;
        ASSERT_EQ(sizes.size(), c.sizes->size()) << c.name;
        for (size_t i = 0; i < sizes.size(); ++i) EXPECT_NEAR(sizes[i], (*c.sizes)[i], 1e-12) << c.name << " " << i;
        EXPECT_EQ(got->cells, c.grid.cells) << c.name;
        EXPECT_EQ(got->origin_left, c.grid.origin_left) << c.name;
    }
}

TEST(GridTracks, SharedLineAndDraggingIt) {
    const Grid four = uniform_grid(2, 2);
    // Zone 0 spans both rows on the left; zones 1 and 2 are stacked on the right.
    const Grid tall = make_grid({0.5, 0.5}, {0.5, 0.5}, {{0, 2, 0, 1}, {0, 1, 1, 2}, {1, 2, 1, 2}});
    struct LineCase {
        Grid grid;
        size_t a, b;
        std::optional<GridLine> line;
    };
    const LineCase lines[] = {
        {four, 0, 1, GridLine{GridAxis::Columns, 1}}, {four, 1, 0, GridLine{GridAxis::Columns, 1}},
        {four, 0, 2, GridLine{GridAxis::Rows, 1}},    {four, 0, 3, std::nullopt},
        {tall, 0, 2, GridLine{GridAxis::Columns, 1}}, {tall, 1, 2, GridLine{GridAxis::Rows, 1}},
        {four, 0, 0, std::nullopt},                    {four, 0, 9, std::nullopt},
    };
    for (const LineCase& c : lines) EXPECT_EQ(shared_line(c.grid, c.a, c.b), c.line) << c.a << "," << c.b;

    const Grid thirds = make_grid({1}, {0.2, 0.3, 0.5}, {{0, 1, 0, 1}, {0, 1, 1, 2}, {0, 1, 2, 3}}, 0.1, 0);
    struct MoveCase {
        const char* name;
        GridLine line;
        double to;
        std::vector<double> widths;
    };
    const MoveCase moves[] = {
        {"to a rounded position", {GridAxis::Columns, 1}, 0.41234, {0.312, 0.188, 0.5}},
        {"not past the minimum of the left track", {GridAxis::Columns, 1}, 0.0, {0.03, 0.47, 0.5}},
        {"not past the minimum of the right track", {GridAxis::Columns, 2}, 2.0, {0.2, 0.77, 0.03}},
        {"the edge line stays", {GridAxis::Columns, 0}, 0.5, {0.2, 0.3, 0.5}},
        {"not a number", {GridAxis::Columns, 1}, std::nan(""), {0.2, 0.3, 0.5}},
    };
    for (const MoveCase& m : moves) {
        const Grid moved = move_line(thirds, m.line, m.to);
        ASSERT_EQ(moved.column_widths.size(), 3u);
        for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(moved.column_widths[i], m.widths[i], 1e-12) << m.name << " " << i;
    }
    // A track already below the minimum may grow but not shrink further.
    const Grid narrow = make_grid({1}, {0.01, 0.99}, {{0, 1, 0, 1}, {0, 1, 1, 2}});
    EXPECT_NEAR(move_line(narrow, {GridAxis::Columns, 1}, 0.0).column_widths[0], 0.01, 1e-12);
    EXPECT_NEAR(move_line(narrow, {GridAxis::Columns, 1}, 0.3).column_widths[0], 0.3, 1e-12);
    EXPECT_NEAR(line_position(thirds, {GridAxis::Columns, 2}), 0.6, 1e-12);
}

}  // namespace
}  // namespace tw
