// Resizing a grid's tracks: the size table's rule for one cell, and moving the line
// between two cells that the user drags on the canvas.
#include <algorithm>
#include <cmath>

#include "core/model/grid.h"

namespace tw {

namespace {

std::vector<double>& sizes_of(Grid& g, GridAxis axis) {
    return axis == GridAxis::Columns ? g.column_widths : g.row_heights;
}

const std::vector<double>& sizes_of(const Grid& g, GridAxis axis) {
    return axis == GridAxis::Columns ? g.column_widths : g.row_heights;
}

double sum(const std::vector<double>& sizes, size_t from, size_t to) {
    double s = 0;
    for (size_t i = from; i < to; ++i) s += sizes[i];
    return s;
}

void scale(std::vector<double>& sizes, size_t from, size_t to, double factor) {
    for (size_t i = from; i < to; ++i) sizes[i] *= factor;
}

}  // namespace

std::optional<Grid> resize_cell(const Grid& grid, size_t index, GridAxis axis, double size) {
    if (index >= grid.cells.size() || !std::isfinite(size) || !(size > 0)) return std::nullopt;
    const GridCell& cell = grid.cells[index];
    const bool columns = axis == GridAxis::Columns;
    const size_t first = columns ? cell.first_column : cell.first_row;
    const size_t end = columns ? cell.end_column : cell.end_row;
    Grid g = grid;
    std::vector<double>& sizes = sizes_of(g, axis);
    if (first >= end || end > sizes.size()) return std::nullopt;

    const double before = sum(sizes, 0, first);
    const double span = sum(sizes, first, end);
    const double after = sum(sizes, end, sizes.size());
    const double total = before + span + after;
    if (!(span > 0)) return std::nullopt;
    // The neighbours that give or take the difference: the tracks after the cell, or
    // for a cell at the far edge the tracks before it.
    const bool take_after = after > kGridTolerance;
    const double others = take_after ? after : before;
    const double rest = total - size - (take_after ? before : after);
    if (!(others > kGridTolerance) || !(rest > 0)) return std::nullopt;
    if (take_after) {
        scale(sizes, end, sizes.size(), rest / others);
    } else {
        scale(sizes, 0, first, rest / others);
    }
    scale(sizes, first, end, size / span);
    // A track that collapses would make a zone of no width, which no grid can hold.
    if (std::any_of(sizes.begin(), sizes.end(), [](double s) { return !(s > kGridTolerance); }))
        return std::nullopt;
    return g;
}

std::optional<GridLine> shared_line(const Grid& grid, size_t first, size_t second) {
    if (first >= grid.cells.size() || second >= grid.cells.size() || first == second)
        return std::nullopt;
    const GridCell& a = grid.cells[first];
    const GridCell& b = grid.cells[second];
    const bool rows_overlap = a.first_row < b.end_row && b.first_row < a.end_row;
    const bool columns_overlap = a.first_column < b.end_column && b.first_column < a.end_column;
    if (rows_overlap && a.end_column == b.first_column) return GridLine{GridAxis::Columns, a.end_column};
    if (rows_overlap && b.end_column == a.first_column) return GridLine{GridAxis::Columns, b.end_column};
    if (columns_overlap && a.end_row == b.first_row) return GridLine{GridAxis::Rows, a.end_row};
    if (columns_overlap && b.end_row == a.first_row) return GridLine{GridAxis::Rows, b.end_row};
    return std::nullopt;
}

double line_position(const Grid& grid, GridLine line) {
    const std::vector<double>& sizes = sizes_of(grid, line.axis);
    const double origin = line.axis == GridAxis::Columns ? grid.origin_left : grid.origin_top;
    return origin + sum(sizes, 0, std::min<size_t>(line.index, sizes.size()));
}

Grid move_line(const Grid& grid, GridLine line, double position) {
    const size_t k = line.index;
    if (k == 0 || k >= sizes_of(grid, line.axis).size() || !std::isfinite(position)) return grid;
    Grid g = grid;
    std::vector<double>& sizes = sizes_of(g, line.axis);
    const double start = line_position(g, {line.axis, line.index - 1});
    const double end = line_position(g, {line.axis, line.index + 1});
    const double low = start + std::min(kMinSplitPart, sizes[k - 1]);
    const double high = end - std::min(kMinSplitPart, sizes[k]);
    if (!(low <= high)) return grid;
    // Whole tenths of a per cent: what the size table shows is then the exact value.
    const double p = std::clamp(std::round(position * 1000) / 1000, low, high);
    sizes[k - 1] = p - start;
    sizes[k] = end - p;
    return g;
}

Grid drop_unused_lines(const Grid& grid) {
    Grid g = grid;
    // One axis: from the last interior line to the first, so that renumbering the lines
    // after a dropped one leaves the ones still to look at where they are.
    auto drop = [&g](std::vector<double>& sizes, uint32_t& count, uint32_t GridCell::*first, uint32_t GridCell::*end) {
        for (uint32_t line = count > 0 ? count - 1 : 0; line >= 1 && line < sizes.size(); --line) {
            const bool used = std::any_of(g.cells.begin(), g.cells.end(), [&](const GridCell& c) {
                return c.*first == line || c.*end == line;
            });
            if (used) continue;
            sizes[line - 1] += sizes[line];
            sizes.erase(sizes.begin() + line);
            --count;
            for (GridCell& c : g.cells) {
                if (c.*first > line) --(c.*first);
                if (c.*end > line) --(c.*end);
            }
        }
    };
    if (g.column_widths.size() == g.columns)
        drop(g.column_widths, g.columns, &GridCell::first_column, &GridCell::end_column);
    if (g.row_heights.size() == g.rows) drop(g.row_heights, g.rows, &GridCell::first_row, &GridCell::end_row);
    return g;
}

}  // namespace tw
