#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "core/base/text_util.h"
#include "core/model/catalog.h"
#include "core/views/dialog_views.h"
#include "support/recording_canvas.h"

namespace tw {
namespace {

const WidgetItem* find(const std::vector<WidgetItem>& items, uint64_t id) {
    for (const auto& w : items)
        if (w.id == id) return &w;
    return nullptr;
}

TEST(DialogFrame, OriginCentredAndKeptInTheWorkArea) {
    struct Case {
        const char* name;
        Rect work;
        int32_t w, h;
        Point expected;
    };
    const Case cases[] = {
        {"centred", {0, 0, 1920, 1040}, 380, 356, {770, 342}},
        {"odd remainder rounds toward the top left", {0, 0, 101, 101}, 50, 50, {25, 25}},
        {"monitor left of the primary", {-1920, 0, 0, 1080}, 530, 478, {-1225, 301}},
        {"work area below a top taskbar", {0, 40, 1280, 1024}, 460, 940, {410, 62}},
        {"taller than the work area: top edge on the work area's", {0, 40, 800, 600}, 460, 900, {170, 40}},
        {"larger both ways", {100, 100, 300, 300}, 640, 756, {100, 100}},
        {"far out in the virtual screen", {INT32_MAX - 100, 0, INT32_MAX, 100}, 50, 50, {INT32_MAX - 75, 25}},
    };
    for (const Case& c : cases) EXPECT_EQ(dialog_origin(c.work, c.w, c.h), c.expected) << c.name;
}

TEST(DialogFrame, CaptionIsTheStripAboveFortyOverNothingClickable) {
    std::vector<WidgetItem> items;
    add_dialog_caption(items, 380, "Title", 724);
    push_item(items, 9, 11, {100, 10, 200, 60});  // a button reaching into the strip
    EXPECT_TRUE(is_caption_point(items, 20, 20));
    EXPECT_TRUE(is_caption_point(items, 339, 39));
    EXPECT_FALSE(is_caption_point(items, 340, 20));  // close glyph
    EXPECT_FALSE(is_caption_point(items, 150, 20));  // the button
    EXPECT_FALSE(is_caption_point(items, 20, 40));
    items.back().enabled = 0;  // a disabled button does not take the click: caption
    EXPECT_TRUE(is_caption_point(items, 150, 20));
}

TEST(UpdateDialog, Height) {
    struct Case {
        const char* name;
        int32_t measured, work;
        UpdateDialogHeight expected;
    };
    const Case cases[] = {
        {"empty text: the minimum", 0, 1040, {220, 60}},
        {"one line", 16, 1040, {220, 60}},
        {"a tenth more once that passes 16", 200, 1040, {380, 220}},
        {"a little too tall", 780, 1040, {940, 858 - 78}},
        {"taller than the work area", 2000, 1040, {940, 2200 - (2360 - 940)}},
        {"work area of 321", 500, 321, {221, 61}},
        {"work area lower than 321", 500, 320, {220, 60}},
        {"no work area", 500, 0, {220, 60}},
        {"a broken measure", -50, 1040, {220, 60}},
        {"a huge measure", INT32_MAX, 1040, {940, 780}},
    };
    for (const Case& c : cases) EXPECT_EQ(update_dialog_height(c.measured, c.work), c.expected) << c.name;
}

TEST(UpdateDialog, ButtonsFitTheirTexts) {
    struct Case {
        const char* name;
        Catalog catalog;
        Rect install, later, skip;
    };
    const Case cases[] = {
        // "Install" 49 < 62; "Skip this version" 119; "Later" 35 < 46 (7 DIPs a character).
        {"English", {}, {16, 214, 106, 244}, {207, 214, 277, 244}, {289, 214, 432, 244}},
        {"longer words",
         {{"update.install_button", "Jetzt installieren"}, {"update.later_button", "Später erinnern"},
          {"update.skip_button", "Skip"}},
         {16, 214, 170, 244}, {181, 214, 310, 244}, {322, 214, 432, 244}},
    };
    for (const Case& c : cases) {
        set_language(c.catalog.empty() ? "" : "xx", c.catalog);
        test::RecordingCanvas canvas;
        const auto items = build_update_view({"1.4.0", "text", 100, kUpdateWidth, &canvas});
        EXPECT_EQ(find(items, update_id::kInstall)->rect, c.install) << c.name;
        EXPECT_EQ(find(items, update_id::kLater)->rect, c.later) << c.name;
        EXPECT_EQ(find(items, update_id::kSkip)->rect, c.skip) << c.name;
    }
    set_language("", {});
    const auto items = build_update_view({"1.4.0", "text", 100, kUpdateWidth, nullptr});
    EXPECT_EQ(items[3].text, "Tilewright 1.4.0 is available");
    EXPECT_EQ(items[4].rect, (Rect{28, 86, 432, 186}));  // the changelog area, h = 100
    EXPECT_EQ(items[2].rect, (Rect{16, 48, 444, 198}));  // the card around it
    UpdateViewInput failed{"1.4.0", "text", 100, kUpdateWidth, nullptr};
    failed.download_failed = true;
    EXPECT_EQ(build_update_view(failed)[3].text, "The download failed. Install tries again.");
}

TEST(AboutDialog, LinkAndUsageLineFollowTheAddress) {
    test::RecordingCanvas canvas;
    AboutViewInput in;
    in.version_line = about_version_line("1.3.19", std::string("10/3/2026"));
    in.usage_line = about_usage_line(12, std::nullopt);
    in.website = "https://example.org";  // 19 characters: 133 DIPs
    in.measure = &canvas;
    const auto items = build_about_view(in);
    const WidgetItem* link = find(items, about_id::kWebsite);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->rect, (Rect{28, 386, 167, 404}));
    const auto usage = std::find_if(items.begin(), items.end(), [](const WidgetItem& w) {
        return w.text == "Used 12 times";
    });
    ASSERT_NE(usage, items.end());
    EXPECT_EQ(usage->rect, (Rect{175, 386, 502, 404}));
    const auto version = std::find_if(items.begin(), items.end(), [](const WidgetItem& w) {
        return w.text == "Version 1.3.19 \u00B7 10/3/2026";
    });
    ASSERT_NE(version, items.end());
    EXPECT_EQ(version->kind, 2);
    const auto last_feature = std::find_if(items.begin(), items.end(), [](const WidgetItem& w) {
        return w.text == "\u2022  No admin rights needed, just launch and go";
    });
    ASSERT_NE(last_feature, items.end());
    EXPECT_EQ(last_feature->rect, (Rect{28, 302, 502, 322}));
    EXPECT_EQ(about_version_line("1.3.19", std::nullopt), "Version 1.3.19");
    EXPECT_EQ(about_usage_line(3, std::string("1/2/2025")), "Used 3 times since 1/2/2025");
}

TEST(AboutDialog, FeedbackMailto) {
    EXPECT_EQ(mailto_link("someone@example.org", kFeedbackSubject, kFeedbackBody),
              "mailto:someone@example.org?subject=Tilewright%20feedback&body="
              "Found%20a%20bug%2C%20want%20to%20suggest%20something%3F%20Want%20to%20hire%20us%20or%20"
              "collaborate%3F%20Share%20your%20love%20or%20hate%20message%3F%20Do%20it%20here%3A%0D%0A%0D%0A");
}

TEST(AboutDialog, MailtoEncoding) {
    struct Case {
        const char* text;
        const char* encoded;
    };
    const Case cases[] = {
        {"AZaz09-._~", "AZaz09-._~"},
        {"a b+c&d=e?f#g/h%i", "a%20b%2Bc%26d%3De%3Ff%23g%2Fh%25i"},
        {"a\nb", "a%0D%0Ab"},
        {"a\r\nb", "a%0D%0Ab"},
        {"a\rb", "a%0D%0Ab"},
        {"\r\r\n\n", "%0D%0A%0D%0A%0D%0A"},
        {"gr\xC3\xBC\xC3\x9F \xE2\x9C\x93", "gr%C3%BC%C3%9F%20%E2%9C%93"},
        {"\x7F\x80\xFF", "%7F%80%FF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mailto_link("a@b", c.text, ""), std::string("mailto:a@b?subject=") + c.encoded + "&body=")
            << c.text;
    }
}

}  // namespace
}  // namespace tw
