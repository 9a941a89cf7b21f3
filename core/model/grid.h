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
// A split is refused when each half would be narrower (or lower) than this, and a
// dragged border stops where a track would become smaller.
inline constexpr double kMinSplitPart = 0.03;
// A uniform grid has at most this many rows and this many columns.
inline constexpr uint32_t kMaxUniformTracks = 6;

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
    // Where grid line 0 lies: a layout with a margin at the left or top keeps it.
    double origin_left = 0;
    double origin_top = 0;
    friend bool operator==(const Grid&, const Grid&) = default;
};

struct GridSizes {
    std::vector<double> row_heights;
    std::vector<double> column_widths;
    friend bool operator==(const GridSizes&, const GridSizes&) = default;
};

// The grid whose cells reproduce the zones exactly (no hole, no overlap), with its
// cells in reading order of their top-left corners and its origin at the zones'
// top-left corner; nothing when the zones are empty, more than 64, hold a non-finite
// number or do not tile a rectangle.
std::optional<Grid> grid_from_zones(const std::vector<Zone>& zones);
// Row heights and column widths of the distinct edge lines of the zones; nothing when
// either direction has fewer than two lines or a number is not finite.
std::optional<GridSizes> grid_sizes_from_zones(const std::vector<Zone>& zones);
// The zone of each cell, in cell order, grid line 0 at the origin; a cell referring
// to a line past the last one is left out.
std::vector<Zone> zones_from_grid(const std::vector<GridCell>& cells, const std::vector<double>& row_heights,
                                  const std::vector<double>& column_widths, double origin_left = 0,
                                  double origin_top = 0);
std::vector<Zone> zones_from_grid(const Grid& grid);
// Equal rows and columns, cells in row-major order. Counts are held to 1 to 6.
Grid uniform_grid(uint32_t rows, uint32_t columns);
// The grid with cell `index` split into a left and right part (or upper and lower
// when `horizontal`), the new part numbered right after it; the grid unchanged when
// the index is out of range, the halves would fall under the minimum, or the grid
// already holds the most zones allowed.
Grid split_cell(const Grid& grid, size_t index, bool horizontal);
// The grid with the two cells joined when they share a whole edge, cells re-sorted
// into reading order; otherwise (or for indices out of range) unchanged.
Grid merge_cells(const Grid& grid, size_t first, size_t second);

// How a layout opens in the grid editor: the grid that reproduces its zones
// (`exact`), or, for zones that leave gaps, overlap, are degenerate or too many, the
// nearest grid: every grid square goes to the first zone covering its centre, else to
// the nearest zone, and a zone left with no square is dropped. When even that gives
// no grid, one row of as many equal columns as zones (1 to 6).
struct GridFit {
    Grid grid;
    bool exact = false;
};
GridFit fit_grid(const std::vector<Zone>& zones);

enum class GridAxis : uint8_t { Columns, Rows };

// The size table's rule: cell `index` gets the extent `size` along `axis` (its tracks
// keep their proportions). The tracks after the cell are scaled so that the grid's
// total extent stays as it was; for a cell that ends at the far edge the tracks
// before it are scaled instead. Nothing when the index is out of range, the size is
// not a positive finite number, or any track would shrink to nothing.
std::optional<Grid> resize_cell(const Grid& grid, size_t index, GridAxis axis, double size);

// The grid line two cells share: the column line when one ends where the other
// begins side by side, else the row line when they are stacked.
struct GridLine {
    GridAxis axis = GridAxis::Columns;
    uint32_t index = 0;  // 1 .. count - 1: an interior line
    friend bool operator==(const GridLine&, const GridLine&) = default;
};
std::optional<GridLine> shared_line(const Grid& grid, size_t first, size_t second);
// Position of a grid line (origin plus the tracks before it).
double line_position(const Grid& grid, GridLine line);
// The grid with an interior line moved to `position` (a fraction of the screen,
// rounded to 0.001), only the two tracks beside it changing; neither becomes smaller
// than kMinSplitPart, or than it already was when it is smaller.
Grid move_line(const Grid& grid, GridLine line, double position);

// The grid without the interior lines that no cell begins or ends at (a merge leaves
// them behind): the tracks on both sides of such a line become one, so that a border
// dragged later is not held back by a line nobody sees.
Grid drop_unused_lines(const Grid& grid);

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
