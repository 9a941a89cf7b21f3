#include <gtest/gtest.h>

#include "core/model/grid.h"

namespace tw {
namespace {

// The templates as the editor loads them: from the built-in default layouts.
TEST(GridTemplates, LoadTheBuiltInDefaults) {
    struct Case {
        const char* layout_name;
        std::vector<double> widths;
    };
    const Case cases[] = {
        {"25% | 50% | 25%", {0.25, 0.5, 0.25}},
        {"50% | 50%", {0.5, 0.5}},
        {"33% | 33% | 33%", {0.3333333333333333, 0.3333333333333333, 0.33333333333333337}},
        {"100%", {1.0}},
    };
    for (const Case& c : cases) {
        std::optional<Grid> g = template_grid(c.layout_name);
        ASSERT_TRUE(g.has_value()) << c.layout_name;
        EXPECT_EQ(g->rows, 1u);
        EXPECT_EQ(g->columns, c.widths.size());
        EXPECT_EQ(g->column_widths, c.widths) << c.layout_name;
        EXPECT_EQ(g->row_heights, std::vector<double>{1.0});
    }
    for (const GridTemplate& t : grid_templates())
        EXPECT_TRUE(template_grid(t.layout_name).has_value()) << t.layout_name;
}

}  // namespace
}  // namespace tw
