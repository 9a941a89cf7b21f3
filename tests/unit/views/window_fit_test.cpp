// Every drawn window on the screens users have: 1920 x 1080 at 100, 150 and 200 % and
// 1366 x 768 at 100 %, each with a 40-pixel taskbar. The window is never taller than
// the work area, its closing buttons are always on screen, and whatever does not fit
// scrolls with a visible bar and can be scrolled into view.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "core/ui/window_fit.h"
#include "core/views/color_view.h"
#include "core/views/dialog_views.h"
#include "core/views/editor_command.h"
#include "core/views/main_view.h"
#include "core/views/shortcuts_view.h"

namespace tw {
namespace {

struct ScreenSize {
    const char* name;
    int32_t width, height;  // the monitor in pixels
    double scale;
    int32_t work_height() const { return height - 40; }
};
constexpr ScreenSize kScreens[] = {
    {"1920x1080 100%", 1920, 1080, 1.0},
    {"1920x1080 150%", 1920, 1080, 1.5},
    {"1920x1080 200%", 1920, 1080, 2.0},
    {"1366x768 100%", 1366, 768, 1.0},
};

const WidgetItem* find(const std::vector<WidgetItem>& items, uint64_t id) {
    for (const auto& w : items)
        if (w.id == id) return &w;
    return nullptr;
}

bool has_scroll_bar(const std::vector<WidgetItem>& items) {
    return std::any_of(items.begin(), items.end(), [](const WidgetItem& w) { return w.kind == 31; });
}

// Fully inside the client, below the title band.
void expect_on_screen(const std::vector<WidgetItem>& items, uint64_t id, int32_t client) {
    const WidgetItem* w = find(items, id);
    ASSERT_NE(w, nullptr) << id;
    EXPECT_GE(w->rect.top, 40) << id;
    EXPECT_LE(w->rect.bottom, client) << id;
}

TEST(WindowFit, HeightStopsAtTheWorkArea) {
    struct Case { int32_t content; double scale; int32_t work; FittedHeight fit; };
    const Case cases[] = {
        {734, 1.0, 1040, {734, 734, false}},  {734, 1.5, 1040, {1040, 693, true}},
        {734, 2.0, 1040, {1040, 520, true}},  {734, 1.0, 728, {728, 728, true}},
        {478, 2.0, 1040, {956, 478, false}},  {100, 0.5, 1040, {100, 100, false}},  // below 96 DPI counts as 96
        {100, 1.0, 0, {1, 1, true}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fit_height(c.content, c.scale, c.work), c.fit) << c.content << " at " << c.scale;
}

TEST(WindowFit, ThumbIsAsLongAsTheShownPartAndFollowsTheScroll) {
    struct Case { int64_t content, viewport, scroll; std::optional<Rect> thumb; };
    const Rect track{100, 50, 103, 450};  // 400 long
    const Case cases[] = {
        {400, 400, 0, std::nullopt},                {800, 400, 0, Rect{100, 50, 103, 250}},
        {800, 400, 400, Rect{100, 250, 103, 450}},  {800, 400, 9999, Rect{100, 250, 103, 450}},
        {800, 400, -5, Rect{100, 50, 103, 250}},    {100000, 400, 0, Rect{100, 50, 103, 74}},  // at least 24
        {800, 0, 0, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(scroll_thumb(track, c.content, c.viewport, c.scroll), c.thumb) << c.content;
    EXPECT_EQ(pinned_footer_top(500, 66, 600), std::nullopt);
    EXPECT_EQ(pinned_footer_top(700, 66, 600), 600 - 16 - 66);
}

TEST(WindowFit, MainWindowScrollsWithABarAndEveryCardCanBeReached) {
    const std::vector<ScreenInfo> screens = {{"\\\\.\\DISPLAY1", "Display 1", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 0, true}};
    Settings s;
    reconcile_screen_layouts(s, screens);
    for (const ScreenSize& size : kScreens) {
        SCOPED_TRACE(size.name);
        const FittedHeight fit = fit_height(802, size.scale, size.work_height());
        EXPECT_LE(fit.pixels, size.work_height());
        MainViewInput in{s};
        in.screens = screens;
        in.height = fit.dips;
        const MainView top = build_main_view(in);
        EXPECT_EQ(has_scroll_bar(top.widgets), top.content_bottom > fit.dips);
        expect_on_screen(top.widgets, main_id::kStartStop, fit.dips);
        in.scroll = INT32_MAX;
        const MainView bottom = build_main_view(in);
        EXPECT_LE(find(bottom.widgets, main_id::kAbout)->rect.bottom, fit.dips);
        EXPECT_GE(find(bottom.widgets, main_id::kAbout)->rect.top, 0);
    }
}

TEST(WindowFit, EditorKeepsSaveAndCancelOnScreenWhateverTheGrid) {
    struct Grid { uint32_t rows, columns; };
    const Grid grids[] = {{1, 3}, {3, 4}, {6, 6}};
    for (const ScreenSize& size : kScreens) {
        for (const Grid& g : grids) {
            SCOPED_TRACE(testing::Message() << size.name << ", " << g.rows << "x" << g.columns);
            const Rect work{0, 0, size.width, size.work_height()};
            EditorState st = open_editor_state(Settings{}, {}, work);
            st.page = EditorPage::Edit;
            st.grid = uniform_grid(g.rows, g.columns);
            reset_size_fields(st);
            const int32_t content = build_edit_view(st, INT32_MAX).content_bottom;
            const FittedHeight fit = fit_height(content, size.scale, size.work_height());
            EXPECT_LE(fit.pixels, size.work_height());
            for (const int32_t scroll : {0, 150, INT32_MAX}) {
                st.scroll = scroll;
                const EditorView v = build_edit_view(st, fit.dips);
                expect_on_screen(v.widgets, editor_id::kSave, fit.dips);
                expect_on_screen(v.widgets, editor_id::kCancel, fit.dips);
                EXPECT_EQ(has_scroll_bar(v.widgets), fit.scrolls);
                // Nothing that takes clicks lies under the footer.
                for (const WidgetItem& w : v.widgets) {
                    if (w.id != editor_id::kSave && w.id != editor_id::kCancel && is_clickable_kind(w.kind)) {
                        EXPECT_LE(w.rect.bottom, v.body_bottom) << w.id;
                    }
                }
            }
            // Scrolled to the end, the last zone's fields show above the footer.
            const EditorView end = build_edit_view(st, fit.dips);
            const uint64_t last = st.grid.cells.size() - 1;
            ASSERT_NE(find(end.widgets, editor_id::kHeightField + last), nullptr);
        }
    }
}

TEST(WindowFit, ShortcutsListScrollsByRowsAboveSaveAndCancel) {
    const Settings s;
    for (const ScreenSize& size : kScreens) {
        SCOPED_TRACE(size.name);
        const FittedHeight fit = fit_height(kShortcutsHeight, size.scale, size.work_height());
        ShortcutsState st = open_shortcuts(s);
        const ShortcutsRows rows = shortcuts_rows(st, fit.dips);
        const std::vector<WidgetItem> items = build_shortcuts_view(st, kShortcutsWidth, nullptr, fit.dips);
        expect_on_screen(items, shortcuts_id::kSave, fit.dips);
        expect_on_screen(items, shortcuts_id::kCancel, fit.dips);
        EXPECT_EQ(has_scroll_bar(items), rows.count < kHotkeyActionCount);
        // The wheel brings the last row into view.
        for (int i = 0; i < 40; ++i) shortcuts_wheel(st, -120, fit.dips);
        const std::vector<WidgetItem> end = build_shortcuts_view(st, kShortcutsWidth, nullptr, fit.dips);
        ASSERT_NE(find(end, shortcuts_id::kChange[kHotkeyActionCount - 1]), nullptr);
        EXPECT_LE(find(end, shortcuts_id::kChange[kHotkeyActionCount - 1])->rect.bottom, fit.dips);
    }
}

TEST(WindowFit, SmallDialogsFitWithoutScrolling) {
    struct Dialog { const char* name; int32_t height; std::vector<WidgetItem> items; };
    const Dialog dialogs[] = {
        {"about", kAboutHeight, build_about_view({})},
        {"colour", kColorHeight, build_color_view(ColorDialogState{}, kColorWidth)},
    };
    for (const ScreenSize& size : kScreens)
        for (const Dialog& d : dialogs) {
            const FittedHeight fit = fit_height(d.height, size.scale, size.work_height());
            EXPECT_FALSE(fit.scrolls) << d.name << " " << size.name;
            for (const WidgetItem& w : d.items) EXPECT_LE(w.rect.bottom, fit.dips) << d.name << " " << w.id;
        }
}

}  // namespace
}  // namespace tw

namespace tw {
namespace {

TEST(ShortcutsRows, ClearIsGreyedWithoutAShortcutAndTheCapturedRowShows) {
    struct Case { std::optional<size_t> capture; size_t first_row; int32_t height; ShortcutsRows rows; };
    const Case cases[] = {
        {std::nullopt, 0, kShortcutsHeight, {0, std::min<size_t>(16, kHotkeyActionCount)}},  // (756 - 148) / 38
        {std::nullopt, 0, 500, {0, 9}},      // (500 - 148) / 38 rows fit
        {std::nullopt, 99, 500, {kHotkeyActionCount - 9, 9}},
        {size_t{12}, 0, 500, {4, 9}},        // a row captured below the list comes into view
        {size_t{1}, 6, 500, {1, 9}},         // ... and above it
        {std::nullopt, 0, 10, {0, 1}},       // never fewer than one row
    };
    for (const Case& c : cases) {
        ShortcutsState st = open_shortcuts(Settings{});
        st.capture = c.capture;
        st.first_row = c.first_row;
        EXPECT_EQ(shortcuts_rows(st, c.height), c.rows) << c.height << " from " << c.first_row;
        if (!c.capture) continue;
        // The captured row is marked by a card of its own behind it.
        const std::vector<WidgetItem> items = build_shortcuts_view(st, kShortcutsWidth, nullptr, c.height);
        const WidgetItem* change = find(items, shortcuts_id::kChange[*c.capture]);
        ASSERT_NE(change, nullptr);
        EXPECT_TRUE(std::any_of(items.begin(), items.end(), [&](const WidgetItem& w) {
            return w.kind == 0 && w.rect.top < change->rect.top && w.rect.bottom > change->rect.bottom &&
                   w.rect.bottom - w.rect.top < 50;
        }));
    }

    ShortcutsState st = open_shortcuts(Settings{});
    st.working[0] = {};  // no shortcut
    const std::vector<WidgetItem> items = build_shortcuts_view(st, kShortcutsWidth, nullptr);
    EXPECT_EQ(find(items, shortcuts_id::kClear[0])->enabled, 0);
    EXPECT_EQ(find(items, shortcuts_id::kClear[1])->enabled, 1);
    EXPECT_EQ(shortcuts_click(st, shortcuts_id::kClear[0]), ShortcutsEffect::Rebuild);  // harmless if reached
}

}  // namespace
}  // namespace tw
