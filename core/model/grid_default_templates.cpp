// Kept apart from the template table so that the grid code links without the
// settings reader that the built-in default layouts are parsed with.
#include "core/model/grid.h"

namespace tw {

std::optional<Grid> template_grid(std::string_view layout_name) {
    return template_grid(layout_name, default_layouts());
}

}  // namespace tw
