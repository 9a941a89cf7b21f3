#include "core/model/grid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tw {

namespace {

bool same_line(double a, double b) { return std::fabs(a - b) <= kGridTolerance; }

bool all_finite(const std::vector<Zone>& zones) {
    return std::all_of(zones.begin(), zones.end(), [](const Zone& z) {
        return std::isfinite(z.left) && std::isfinite(z.top) && std::isfinite(z.right) &&
               std::isfinite(z.bottom);
    });
}

// Sorted distinct values, a value within the tolerance of the last kept one dropped.
std::vector<double> distinct_lines(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::vector<double> lines;
    for (double v : values)
        if (lines.empty() || !same_line(v, lines.back())) lines.push_back(v);
    return lines;
}

struct Lines {
    std::vector<double> rows;
    std::vector<double> columns;
};

Lines lines_of(const std::vector<Zone>& zones) {
    std::vector<double> ys, xs;
    ys.reserve(zones.size() * 2);
    xs.reserve(zones.size() * 2);
    for (const Zone& z : zones) {
        ys.push_back(z.top);
        ys.push_back(z.bottom);
        xs.push_back(z.left);
        xs.push_back(z.right);
    }
    return {distinct_lines(std::move(ys)), distinct_lines(std::move(xs))};
}

std::vector<double> differences(const std::vector<double>& lines) {
    std::vector<double> out;
    for (size_t i = 1; i < lines.size(); ++i) out.push_back(lines[i] - lines[i - 1]);
    return out;
}

std::optional<uint32_t> line_index(const std::vector<double>& lines, double value) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (same_line(lines[i], value)) return static_cast<uint32_t>(i);
    return std::nullopt;
}

void sort_reading_order(std::vector<GridCell>& cells) {
    std::stable_sort(cells.begin(), cells.end(), [](const GridCell& a, const GridCell& b) {
        if (a.first_row != b.first_row) return a.first_row < b.first_row;
        return a.first_column < b.first_column;
    });
}

// Running sums: position[0] = origin, position[k + 1] = position[k] + size[k].
std::vector<double> positions(const std::vector<double>& sizes, double origin) {
    std::vector<double> out(sizes.size() + 1, origin);
    for (size_t i = 0; i < sizes.size(); ++i) out[i + 1] = out[i] + sizes[i];
    return out;
}

bool cell_fits(const GridCell& c, const Grid& g) {
    return c.first_row < c.end_row && c.first_column < c.end_column && c.end_row <= g.rows &&
           c.end_column <= g.columns && g.row_heights.size() == g.rows &&
           g.column_widths.size() == g.columns;
}

// One axis of a grid: the sizes along it, their count, and the cell fields that
// index it. Lets split describe the left/right case once for both directions.
struct Axis {
    std::vector<double>& sizes;
    uint32_t& count;
    uint32_t GridCell::*first;
    uint32_t GridCell::*end;
};

void split_along(Grid& g, size_t index, Axis axis) {
    GridCell cell = g.cells[index];
    const uint32_t first = cell.*axis.first;
    const uint32_t end = cell.*axis.end;

    double total = 0;
    for (uint32_t i = first; i < end; ++i) total += axis.sizes[i];
    const double half = total / 2;
    if (!(half >= kMinSplitPart)) return;

    uint32_t divide = 0;
    if (end - first >= 2) {
        // The interior line nearest the middle; a later line must be nearer by more
        // than the tolerance to win, so rounding noise cannot beat the leftmost line.
        double best = 0;
        double running = 0;
        for (uint32_t k = first + 1; k < end; ++k) {
            running += axis.sizes[k - 1];
            const double distance = std::fabs(running - half);
            if (divide == 0 || distance < best - kGridTolerance) {
                divide = k;
                best = distance;
            }
        }
    } else {
        const uint32_t c = first;
        axis.sizes[c] = half;
        axis.sizes.insert(axis.sizes.begin() + c + 1, half);
        ++axis.count;
        for (GridCell& other : g.cells) {
            if (other.*axis.first > c) ++(other.*axis.first);
            if (other.*axis.end > c) ++(other.*axis.end);
        }
        divide = c + 1;
        cell = g.cells[index];  // now spans both halves
    }

    GridCell upper_or_left = cell;
    GridCell lower_or_right = cell;
    upper_or_left.*axis.end = divide;
    lower_or_right.*axis.first = divide;
    g.cells[index] = upper_or_left;
    g.cells.insert(g.cells.begin() + static_cast<std::ptrdiff_t>(index) + 1, lower_or_right);
}

}  // namespace

std::optional<Grid> grid_from_zones(const std::vector<Zone>& zones) {
    if (zones.empty() || zones.size() > kMaxGridZones || !all_finite(zones)) return std::nullopt;
    Lines lines = lines_of(zones);
    if (lines.rows.size() < 2 || lines.columns.size() < 2) return std::nullopt;

    Grid g;
    g.rows = static_cast<uint32_t>(lines.rows.size() - 1);
    g.columns = static_cast<uint32_t>(lines.columns.size() - 1);
    for (const Zone& z : zones) {
        auto top = line_index(lines.rows, z.top);
        auto bottom = line_index(lines.rows, z.bottom);
        auto left = line_index(lines.columns, z.left);
        auto right = line_index(lines.columns, z.right);
        if (!top || !bottom || !left || !right || *top >= *bottom || *left >= *right) return std::nullopt;
        g.cells.push_back({*top, *bottom, *left, *right});
    }

    std::vector<uint8_t> marks(static_cast<size_t>(g.rows) * g.columns, 0);
    for (const GridCell& c : g.cells)
        for (uint32_t r = c.first_row; r < c.end_row; ++r)
            for (uint32_t col = c.first_column; col < c.end_column; ++col)
                if (++marks[static_cast<size_t>(r) * g.columns + col] > 1) return std::nullopt;
    if (std::find(marks.begin(), marks.end(), 0) != marks.end()) return std::nullopt;

    sort_reading_order(g.cells);
    g.row_heights = differences(lines.rows);
    g.column_widths = differences(lines.columns);
    g.origin_top = lines.rows.front();
    g.origin_left = lines.columns.front();
    return g;
}

std::optional<GridSizes> grid_sizes_from_zones(const std::vector<Zone>& zones) {
    // Non-finite numbers are refused here too: they cannot be ordered, and sizes
    // computed from them would be meaningless.
    if (!all_finite(zones)) return std::nullopt;
    Lines lines = lines_of(zones);
    if (lines.rows.size() < 2 || lines.columns.size() < 2) return std::nullopt;
    return GridSizes{differences(lines.rows), differences(lines.columns)};
}

std::vector<Zone> zones_from_grid(const std::vector<GridCell>& cells, const std::vector<double>& row_heights,
                                  const std::vector<double>& column_widths, double origin_left,
                                  double origin_top) {
    const std::vector<double> ys = positions(row_heights, origin_top);
    const std::vector<double> xs = positions(column_widths, origin_left);
    std::vector<Zone> zones;
    zones.reserve(cells.size());
    for (const GridCell& c : cells) {
        if (c.first_row >= ys.size() || c.end_row >= ys.size() || c.first_column >= xs.size() ||
            c.end_column >= xs.size())
            continue;
        zones.push_back({xs[c.first_column], ys[c.first_row], xs[c.end_column], ys[c.end_row]});
    }
    return zones;
}

std::vector<Zone> zones_from_grid(const Grid& grid) {
    return zones_from_grid(grid.cells, grid.row_heights, grid.column_widths, grid.origin_left,
                           grid.origin_top);
}

Grid uniform_grid(uint32_t rows, uint32_t columns) {
    rows = std::clamp<uint32_t>(rows, 1, kMaxUniformTracks);
    columns = std::clamp<uint32_t>(columns, 1, kMaxUniformTracks);
    Grid g;
    g.rows = rows;
    g.columns = columns;
    g.row_heights.assign(rows, 1.0 / rows);
    g.column_widths.assign(columns, 1.0 / columns);
    g.cells.reserve(static_cast<size_t>(rows) * columns);
    for (uint32_t i = 0; i < rows; ++i)
        for (uint32_t j = 0; j < columns; ++j) g.cells.push_back({i, i + 1, j, j + 1});
    return g;
}

namespace {

// Distance from a point to a rectangle; 0 inside or on its edge.
double distance_to(const Zone& z, double x, double y) {
    const double dx = std::max({z.left - x, 0.0, x - z.right});
    const double dy = std::max({z.top - y, 0.0, y - z.bottom});
    return std::sqrt(dx * dx + dy * dy);
}

// The nearest grid of zones that do not tile one: each square of the zones' own grid
// lines goes to the first zone covering its centre, else to the nearest one (earlier
// zones win ties, so the gutter between two zones joins the first). Nothing when a
// zone's squares do not form a rectangle.
std::optional<Grid> nearest_grid(const std::vector<Zone>& zones) {
    const Lines lines = lines_of(zones);
    if (lines.rows.size() < 2 || lines.columns.size() < 2) return std::nullopt;
    const size_t rows = lines.rows.size() - 1, columns = lines.columns.size() - 1;

    struct Box {
        size_t top = SIZE_MAX, bottom = 0, left = SIZE_MAX, right = 0, squares = 0;
    };
    std::vector<Box> boxes(zones.size());
    for (size_t r = 0; r < rows; ++r) {
        const double y = (lines.rows[r] + lines.rows[r + 1]) / 2;
        for (size_t c = 0; c < columns; ++c) {
            const double x = (lines.columns[c] + lines.columns[c + 1]) / 2;
            size_t owner = 0;
            double best = distance_to(zones[0], x, y);
            for (size_t z = 1; z < zones.size() && best > 0; ++z) {
                const double d = distance_to(zones[z], x, y);
                if (d < best - kGridTolerance) {
                    owner = z;
                    best = d;
                }
            }
            Box& b = boxes[owner];
            b.top = std::min(b.top, r);
            b.bottom = std::max(b.bottom, r + 1);
            b.left = std::min(b.left, c);
            b.right = std::max(b.right, c + 1);
            ++b.squares;
        }
    }

    Grid g;
    g.rows = static_cast<uint32_t>(rows);
    g.columns = static_cast<uint32_t>(columns);
    for (const Box& b : boxes) {
        if (b.squares == 0) continue;
        if (b.squares != (b.bottom - b.top) * (b.right - b.left)) return std::nullopt;
        g.cells.push_back({static_cast<uint32_t>(b.top), static_cast<uint32_t>(b.bottom),
                           static_cast<uint32_t>(b.left), static_cast<uint32_t>(b.right)});
    }
    sort_reading_order(g.cells);
    g.row_heights = differences(lines.rows);
    g.column_widths = differences(lines.columns);
    g.origin_top = lines.rows.front();
    g.origin_left = lines.columns.front();
    return g;
}

}  // namespace

GridFit fit_grid(const std::vector<Zone>& zones) {
    if (std::optional<Grid> exact = grid_from_zones(zones)) return {std::move(*exact), true};
    std::vector<Zone> usable;
    for (const Zone& z : zones) {
        if (usable.size() == kMaxGridZones) break;
        if (all_finite({z}) && z.right - z.left > kGridTolerance && z.bottom - z.top > kGridTolerance)
            usable.push_back(z);
    }
    if (!usable.empty()) {
        if (std::optional<Grid> near = nearest_grid(usable)) return {std::move(*near), false};
    }
    const size_t columns = std::clamp<size_t>(zones.size(), 1, kMaxUniformTracks);
    return {uniform_grid(1, static_cast<uint32_t>(columns)), false};
}

Grid split_cell(const Grid& grid, size_t index, bool horizontal) {
    if (index >= grid.cells.size() || grid.cells.size() >= kMaxGridZones || !cell_fits(grid.cells[index], grid))
        return grid;
    Grid g = grid;
    if (horizontal)
        split_along(g, index, {g.row_heights, g.rows, &GridCell::first_row, &GridCell::end_row});
    else
        split_along(g, index, {g.column_widths, g.columns, &GridCell::first_column, &GridCell::end_column});
    return g;
}

Grid merge_cells(const Grid& grid, size_t first, size_t second) {
    if (first >= grid.cells.size() || second >= grid.cells.size() || first == second) return grid;
    const GridCell& a = grid.cells[first];
    const GridCell& b = grid.cells[second];
    const bool same_rows = a.first_row == b.first_row && a.end_row == b.end_row;
    const bool same_columns = a.first_column == b.first_column && a.end_column == b.end_column;
    const bool side_by_side = same_rows && (a.end_column == b.first_column || b.end_column == a.first_column);
    const bool stacked = same_columns && (a.end_row == b.first_row || b.end_row == a.first_row);
    if (!side_by_side && !stacked) return grid;

    const GridCell joined{std::min(a.first_row, b.first_row), std::max(a.end_row, b.end_row),
                          std::min(a.first_column, b.first_column), std::max(a.end_column, b.end_column)};
    Grid g = grid;
    g.cells.erase(g.cells.begin() + static_cast<std::ptrdiff_t>(std::max(first, second)));
    g.cells.erase(g.cells.begin() + static_cast<std::ptrdiff_t>(std::min(first, second)));
    g.cells.push_back(joined);
    sort_reading_order(g.cells);
    return g;
}

}  // namespace tw
