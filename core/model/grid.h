#pragma once
// The layout editor's working model: a layout seen as a grid of rows and columns
// whose cells are whole blocks of grid squares, the conversions between zones and
// grids, and the edits the editor offers (uniform grids, split, merge, templates).
// Every operation is a pure function on plain values.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/model/layout_model.h"

namespace tw {

// Coordinates that differ by at most this much count as the same line.
inline constexpr double kGridTolerance = 1e-6;
// More zones than this are never read as a grid, and a split never produces more.
inline constexpr size_t kMaxGridZones = 64;
// A split is refused when each half would be narrower (or lower) than this.
inline constexpr double kMinSplitPart = 0.03;

// Grid-line indices: the cell covers rows [first_row, end_row) and columns
// [first_column, end_column). Line 0 is the top or left edge.
struct GridCell {
    uint32_t first_row = 0;
    uint32_t end_row = 0;
    uint32_t first_column = 0;
    uint32_t end_column = 0;
    friend bool operator==(const GridCell&, const GridCell&) = default;
};

struct Grid {
    uint32_t rows = 0;
    uint32_t columns = 0;
    std::vector<double> row_heights;    // fractions of the height, top to bottom
    std::vector<double> column_widths;  // fractions of the width, left to right
    std::vector<GridCell> cells;        // in zone order: cells[0] is zone 1
    friend bool operator==(const Grid&, const Grid&) = default;
};

struct GridSizes {
    std::vector<double> row_heights;
    std::vector<double> column_widths;
    friend bool operator==(const GridSizes&, const GridSizes&) = default;
};

// The grid whose cells reproduce the zones exactly (no hole, no overlap), with its
// cells in reading order of their top-left corners; nothing when the zones are empty,
// more than 64, hold a non-finite number or do not tile a grid.
std::optional<Grid> grid_from_zones(const std::vector<Zone>& zones);
// Row heights and column widths of the distinct edge lines of the zones; nothing when
// either direction has fewer than two lines or a number is not finite.
std::optional<GridSizes> grid_sizes_from_zones(const std::vector<Zone>& zones);
// The zone of each cell, in cell order; a cell referring to a line past the last one
// is left out.
std::vector<Zone> zones_from_grid(const std::vector<GridCell>& cells, const std::vector<double>& row_heights,
                                  const std::vector<double>& column_widths);
std::vector<Zone> zones_from_grid(const Grid& grid);
// Equal rows and columns, cells in row-major order. A count of 0 is taken as 1.
Grid uniform_grid(uint32_t rows, uint32_t columns);
// The grid with cell `index` split into a left and right part (or upper and lower
// when `horizontal`), the new part numbered right after it; the grid unchanged when
// the index is out of range, the halves would fall under the minimum, or the grid
// already holds the most zones allowed.
Grid split_cell(const Grid& grid, size_t index, bool horizontal);
// The grid with the two cells joined when they share a whole edge, cells re-sorted
// into reading order; otherwise (or for indices out of range) unchanged.
Grid merge_cells(const Grid& grid, size_t first, size_t second);

// The editor's templates, in the order its buttons show them.
struct GridTemplate {
    std::string_view catalog_key;  // "edit.template_25_50_25" ...
    std::string_view layout_name;  // the default layout it loads
};
const std::array<GridTemplate, 4>& grid_templates();
// The grid of the default layout named `layout_name`, looked up in `defaults`.
std::optional<Grid> template_grid(std::string_view layout_name, const std::vector<Layout>& defaults);
// The same, looked up in a fresh copy of the built-in default layouts.
std::optional<Grid> template_grid(std::string_view layout_name);

}  // namespace tw
