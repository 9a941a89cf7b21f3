// Which output a zone share duplicates, and where the zone lies in that output's image,
// on desktops of two and three monitors, some left of and above the primary.
#include <gtest/gtest.h>

#include "core/engine/share_geometry.h"

namespace tw {
namespace {

// Primary 1920 x 1080 at the origin on adapter 0; a 1280 x 1024 monitor to its right on
// a second adapter; a 1920 x 1080 monitor left of and above it on the first adapter.
const std::vector<OutputInfo> kThree{
    {0, 0, {0, 0, 1920, 1080}},
    {1, 0, {1920, 0, 3200, 1024}},
    {0, 1, {-1920, -1080, 0, 0}},
};
// Two monitors, the second left of the primary and listed first by its adapter.
const std::vector<OutputInfo> kTwo{
    {0, 0, {-2560, 0, 0, 1440}},
    {0, 1, {0, 0, 1920, 1080}},
};

TEST(ShareOutput, ChoiceAndTranslation) {
    struct Case {
        const char* what;
        const std::vector<OutputInfo>* outputs;
        Rect zone;
        std::optional<OutputChoice> choice;
    };
    const Case cases[] = {
        {"primary, left half", &kThree, {0, 0, 960, 1080}, OutputChoice{0, 0, {0, 0, 960, 1080}, {0, 0}}},
        {"second adapter: translated by its origin", &kThree, {2560, 0, 3200, 1024},
         OutputChoice{1, 0, {640, 0, 1280, 1024}, {0, 0}}},
        {"left of and above the primary: negative origin", &kThree, {-960, -1080, 0, -540},
         OutputChoice{0, 1, {960, 0, 1920, 540}, {0, 0}}},
        {"two monitors, zone on the left one", &kTwo, {-2560, 720, -1280, 1440},
         OutputChoice{0, 0, {0, 720, 1280, 1440}, {0, 0}}},
        {"two monitors, zone on the primary", &kTwo, {960, 0, 1920, 1080},
         OutputChoice{0, 1, {960, 0, 1920, 1080}, {0, 0}}},
        // A zone reaching past its monitor takes the part that monitor shows; the copy
        // lands where that part lies in the zone.
        {"zone across two monitors: the larger part", &kThree, {1800, 100, 2200, 300},
         OutputChoice{1, 0, {0, 100, 280, 300}, {120, 0}}},
        {"zone partly off every monitor", &kThree, {-100, 1000, 100, 1200},
         OutputChoice{0, 0, {0, 1000, 100, 1080}, {100, 0}}},
        {"equal parts: the earlier output", &kThree, {1820, 0, 2020, 100},
         OutputChoice{0, 0, {1820, 0, 1920, 100}, {0, 0}}},
        // Nothing to copy: still an output to wait on, with an empty source.
        {"empty zone: the output holding its corner", &kThree, {2000, 10, 2000, 500}, OutputChoice{1, 0, {}, {}}},
        {"zone off every monitor: the first output", &kThree, {5000, 5000, 5100, 5100}, OutputChoice{0, 0, {}, {}}},
        {"no outputs", nullptr, {0, 0, 10, 10}, std::nullopt},
    };
    const std::vector<OutputInfo> none;
    for (const Case& c : cases)
        EXPECT_EQ(choose_output(c.outputs ? *c.outputs : none, c.zone), c.choice) << c.what;
}

TEST(ShareOutput, DetachedOutputsAreNeverChosen) {
    std::vector<OutputInfo> outputs = kThree;
    outputs[0].attached = false;
    EXPECT_EQ(choose_output(outputs, {0, 0, 960, 1080}), (OutputChoice{1, 0, {}, {}}));
    for (auto& o : outputs) o.attached = false;
    EXPECT_EQ(choose_output(outputs, {0, 0, 960, 1080}), std::nullopt);
}

TEST(ShareOutput, TheSourceAlwaysLiesInsideTheOutputImage) {
    // Every zone of a sweep across the three monitors maps into the chosen output's image
    // and into the zone-sized mirror image.
    for (int32_t x = -2500; x < 3500; x += 173) {
        for (int32_t y = -1500; y < 1500; y += 211) {
            const Rect zone{x, y, x + 700, y + 400};
            auto c = choose_output(kThree, zone);
            ASSERT_TRUE(c);
            const OutputInfo& o = *std::find_if(kThree.begin(), kThree.end(), [&](const OutputInfo& i) {
                return i.adapter == c->adapter && i.output == c->output;
            });
            const Rect& s = c->source;
            if (s == Rect{}) continue;
            EXPECT_GE(s.left, 0);
            EXPECT_GE(s.top, 0);
            EXPECT_LE(s.right, o.desktop.width());
            EXPECT_LE(s.bottom, o.desktop.height());
            EXPECT_LE(c->target.x + s.width(), zone.width());
            EXPECT_LE(c->target.y + s.height(), zone.height());
            // The copied pixels are the zone's own: same place on the virtual screen.
            EXPECT_EQ(o.desktop.left + s.left, zone.left + c->target.x);
            EXPECT_EQ(o.desktop.top + s.top, zone.top + c->target.y);
        }
    }
}

TEST(ShareWindows, RectanglesAreAtLeastOnePixel) {
    const std::pair<Rect, Rect> cases[] = {
        {{0, 0, 960, 1080}, {0, 0, 960, 1080}},
        {{10, 20, 11, 20}, {10, 20, 11, 21}},          // a zone 1 pixel wide and 0 high
        {{10, 20, 5, 10}, {10, 20, 11, 21}},           // inverted
        {{-1920, -1080, -960, 0}, {-1920, -1080, -960, 0}},
        {{INT32_MAX, 0, INT32_MAX, 5}, {INT32_MAX, 0, INT32_MAX, 5}},  // saturated, no overflow
    };
    for (auto [zone, rect] : cases) EXPECT_EQ(share_window_rect(zone), rect) << rect_text(zone);
    EXPECT_EQ(test_mirror_zone({0, 0, 1920, 1080}), (Rect{0, 0, 480, 1080}));
    EXPECT_EQ(test_mirror_zone({0, 0, 1923, 1040}), (Rect{0, 0, 480, 1040}));
    EXPECT_EQ(test_mirror_zone({48, 0, 1920, 1080}), (Rect{48, 0, 516, 1080}));  // taskbar on the left
}

}  // namespace
}  // namespace tw
