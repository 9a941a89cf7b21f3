#include <algorithm>

#include "core/model/grid.h"

namespace tw {

const std::array<GridTemplate, 4>& grid_templates() {
    static constexpr std::array<GridTemplate, 4> kTemplates = {{
        {"edit.template_25_50_25", "25% | 50% | 25%"},
        {"edit.template_50_50", "50% | 50%"},
        {"edit.template_33_33_33", "33% | 33% | 33%"},
        {"edit.template_100", "100%"},
    }};
    return kTemplates;
}

std::optional<Grid> template_grid(std::string_view layout_name, const std::vector<Layout>& defaults) {
    auto it = std::find_if(defaults.begin(), defaults.end(),
                           [&](const Layout& l) { return l.name == layout_name; });
    if (it == defaults.end()) return std::nullopt;
    std::optional<Grid> grid = grid_from_zones(it->zones);
    std::optional<GridSizes> sizes = grid_sizes_from_zones(it->zones);
    if (!grid || !sizes) return std::nullopt;
    grid->row_heights = std::move(sizes->row_heights);
    grid->column_widths = std::move(sizes->column_widths);
    return grid;
}

}  // namespace tw
