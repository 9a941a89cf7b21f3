#pragma once
// Readable GoogleTest output for grids, and a grid built from its sizes and cells.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <utility>
#include <vector>

#include "core/model/grid.h"
#include "support/settings_print.h"

namespace tw {

inline void PrintTo(const GridCell& c, std::ostream* os) {
    *os << "(" << c.first_row << "," << c.end_row << "," << c.first_column << "," << c.end_column << ")";
}
inline void PrintTo(const Grid& g, std::ostream* os) {
    os->precision(17);
    *os << "rows " << g.rows << " columns " << g.columns << " origin " << g.origin_left << "," << g.origin_top
        << " heights [";
    for (double h : g.row_heights) *os << h << " ";
    *os << "] widths [";
    for (double w : g.column_widths) *os << w << " ";
    *os << "] cells ";
    for (const GridCell& c : g.cells) PrintTo(c, os);
}

namespace test {

// Zones equal to within 1e-9, in order, with the first difference as the message.
inline ::testing::AssertionResult zones_near(const std::vector<Zone>& got, const std::vector<Zone>& want) {
    if (got.size() != want.size())
        return ::testing::AssertionFailure() << got.size() << " zones instead of " << want.size();
    for (size_t i = 0; i < got.size(); ++i) {
        const Zone& a = got[i];
        const Zone& b = want[i];
        if (std::fabs(a.left - b.left) > 1e-9 || std::fabs(a.top - b.top) > 1e-9 ||
            std::fabs(a.right - b.right) > 1e-9 || std::fabs(a.bottom - b.bottom) > 1e-9)
            return ::testing::AssertionFailure() << "zone " << i << ": " << ::testing::PrintToString(a)
                                                 << " instead of " << ::testing::PrintToString(b);
    }
    return ::testing::AssertionSuccess();
}

inline Grid make_grid(std::vector<double> heights, std::vector<double> widths, std::vector<GridCell> cells,
                      double origin_left = 0, double origin_top = 0) {
    Grid g;
    g.rows = static_cast<uint32_t>(heights.size());
    g.columns = static_cast<uint32_t>(widths.size());
    g.row_heights = std::move(heights);
    g.column_widths = std::move(widths);
    g.cells = std::move(cells);
    g.origin_left = origin_left;
    g.origin_top = origin_top;
    return g;
}

}  // namespace test
}  // namespace tw
